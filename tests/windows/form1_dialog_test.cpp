// The real Win32 dialog, created in this process and driven with messages
// (BM_CLICK, WM_SETTEXT, WM_COMMAND): start state, the table of enabled
// states, the hiding of the status labels, "Scannen" with the clipboard
// text compared unit for unit, the two "no list" outcomes and the end.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <objbase.h>
#include <string>
#include <thread>
#include <vector>

#include "platform/clipboard_win.h"
#include "platform/wide_text.h"
#include "temp_tree.h"
#include "window/form1_tabelle.h"
#include "window/form1_win.h"

namespace {

using S = zweigschau::Steuerelement;

std::wstring Text(HWND w) {
  std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  t.resize(static_cast<std::size_t>(GetWindowTextW(w, t.data(), static_cast<int>(t.size()))));
  return t;
}

std::wstring Zwischenablage() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"(closed)";
  if (const HANDLE h = GetClipboardData(CF_UNICODETEXT); h != nullptr) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      text = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return text;
}

class DialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const INITCOMMONCONTROLSEX steuer{sizeof(steuer), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&steuer);
  }
  void SetUp() override {
    ASSERT_NE(form.hwnd(), nullptr);
    ASSERT_FALSE(form.Form_Load("").has_value());
    form.Zeigen();
  }
  HWND c(S s) const { return form.control(s); }
  bool frei(S s) const { return IsWindowEnabled(c(s)) != FALSE; }
  bool sichtbar(S s) const { return IsWindowVisible(c(s)) != FALSE; }
  LRESULT geprüft(S s) const { return SendMessageW(c(s), BM_GETCHECK, 0, 0); }
  void klicke(S s) { SendMessageW(c(s), BM_CLICK, 0, 0); }
  void setze(S s, const std::wstring& t) { SendMessageW(c(s), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.c_str())); }
  // cbDateien, cbTab, and the other three file fields alike.
  void erwarte(bool dateien, bool tab, bool felder) {
    EXPECT_EQ(frei(S::cbDateien), dateien);
    EXPECT_EQ(frei(S::cbTab), tab);
    EXPECT_EQ(frei(S::cbNurOrdnerMitPassendenDateien), felder);
    EXPECT_EQ(frei(S::comMaskeName), felder);
    EXPECT_EQ(frei(S::comMaskeTyp), felder);
  }
  void erwarteNurLabel(S gezeigt) {
    for (S l : {S::lblArbeite, S::lblfertig, S::lblNichtGefunden, S::lblKeineUnterordner})
      EXPECT_EQ(sichtbar(l), l == gezeigt) << static_cast<int>(l);
  }

  platform::WinClipboard ablage;
  Form1 form{ablage};
};

TEST_F(DialogTest, StartState) {
  EXPECT_EQ(Text(form.hwnd()), L"MORVAs Zweigschau");
  // Captions and start texts are the control table's, and the template
  // holds its controls that take the focus in the table's tab order.
  std::vector<std::string> inVorlage, inTabelle;
  for (HWND w = GetWindow(form.hwnd(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    for (const zweigschau::SteuerZeile& z : zweigschau::kForm1Steuer)
      if (z.id == GetDlgCtrlID(w) && zweigschau::NimmtFokus(z)) inVorlage.push_back(z.name);
  }
  for (int i = 0; i < static_cast<int>(zweigschau::kForm1Anzahl); ++i) {
    const zweigschau::SteuerZeile& z = zweigschau::ZeileMitTabIndex(i);
    EXPECT_EQ(Text(c(z.steuer)), platform::toWide(z.text)) << z.name;
    if (zweigschau::NimmtFokus(z)) inTabelle.push_back(z.name);
  }
  EXPECT_EQ(inVorlage, inTabelle);
  EXPECT_EQ(SendMessageW(c(S::comMaskeTyp), CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageW(c(S::comMaskeName), CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(geprüft(S::optAlleOderLetzte1), BST_CHECKED);
  EXPECT_EQ(geprüft(S::optAlleOderLetzte0), BST_UNCHECKED);
  for (S cb : {S::cbDateien, S::cbTab, S::cbNurOrdnerMitPassendenDateien, S::cbinkl})
    EXPECT_EQ(geprüft(cb), BST_CHECKED) << static_cast<int>(cb);
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(frei(static_cast<S>(i))) << i;
  erwarteNurLabel(S::Label1);
  EXPECT_EQ(GetFocus(), c(S::txtPfadEingabe));
  EXPECT_EQ(LOWORD(SendMessageW(form.hwnd(), DM_GETDEFID, 0, 0)), IDC_cmdScannen);
  EXPECT_NE(GetClassLongPtrW(form.hwnd(), GCL_STYLE) & CS_DBLCLKS, 0u) << "double clicks reach the dialog";
}

TEST_F(DialogTest, EnabledStatesTable) {
  klicke(S::optAlleOderLetzte0);                 // "&nur Endpunkte"
  erwarte(false, false, false);
  setze(S::txtPfadEingabe, L"x");                // path change in that mode: unchanged
  erwarte(false, false, false);
  klicke(S::optAlleOderLetzte1);                 // "&komplette Pfade", Dateien checked
  erwarte(true, true, true);
  klicke(S::cbDateien);                          // unchecked by the user
  EXPECT_EQ(geprüft(S::cbDateien), BST_UNCHECKED);
  erwarte(true, false, false);
  setze(S::txtPfadEingabe, L"y");                // path change, Dateien unchecked
  erwarte(true, true, false);
  klicke(S::optAlleOderLetzte0);
  klicke(S::optAlleOderLetzte1);                 // "&komplette Pfade", Dateien unchecked
  erwarte(true, true, false);
  klicke(S::cbDateien);                          // checked by the user
  erwarte(true, true, true);
  setze(S::txtPfadEingabe, L"z");                // path change, Dateien checked
  erwarte(true, true, true);
}

TEST_F(DialogTest, InputHidesStatusLabels) {
  form.steuerelemente().einblenden(zweigschau::Steuerelement::lblfertig, true);
  ASSERT_TRUE(sichtbar(S::lblfertig));
  setze(S::txtPfadEingabe, L"c:\\neu");
  erwarteNurLabel(S::Label1);
  form.steuerelemente().einblenden(zweigschau::Steuerelement::lblNichtGefunden, true);
  klicke(S::cbinkl);
  erwarteNurLabel(S::Label1);
  EXPECT_EQ(GetFocus(), c(S::txtPfadEingabe));
}

// Tree: a/x/ (song.mp3, note.txt)  B/ (Track.MP3)  c/y/
TEST_F(DialogTest, ScannenInAllThreeModes) {
  testing_tree::TempTree baum;
  baum.folders({"a/x", "B", "c/y"});
  baum.file("a/x/song.mp3");
  baum.file("a/x/note.txt");
  baum.file("B/Track.MP3");
  setze(S::txtPfadEingabe, platform::toWide(baum.root()));
  klicke(S::cbinkl);  // relative lines
  setze(S::comMaskeTyp, L"mp3");
  klicke(S::cmdScannen);  // full paths, file lines with tab
  EXPECT_EQ(Zwischenablage(), L"a\\x\\\tsong.mp3\rB\\\tTrack.MP3\r");
  erwarteNurLabel(S::lblfertig);
  EXPECT_EQ(Text(c(S::lblfertig)), L"2 in der Zwischenablage");
  EXPECT_TRUE(IsWindowEnabled(form.hwnd()));
  klicke(S::cbDateien);
  klicke(S::cmdScannen);  // full paths, folder lines
  EXPECT_EQ(Zwischenablage(), L"a\\\ra\\x\\\rB\\\rc\\\rc\\y\\\r");
  klicke(S::optAlleOderLetzte0);
  SendMessageW(form.hwnd(), WM_COMMAND, IDOK, 0);  // Enter: end points
  EXPECT_EQ(Zwischenablage(), L"a\\x\\\rB\\\rc\\y\\\r");
  EXPECT_EQ(Text(c(S::lblfertig)), L"3 in der Zwischenablage");

  setze(S::txtPfadEingabe, platform::toWide(baum.path("fehlt")));
  klicke(S::cmdScannen);
  erwarteNurLabel(S::lblNichtGefunden);
  EXPECT_EQ(Text(c(S::lblNichtGefunden)), L"Ordner nicht gefunden");
  setze(S::txtPfadEingabe, platform::toWide(baum.path("c/y")));
  klicke(S::cmdScannen);
  erwarteNurLabel(S::lblKeineUnterordner);
  EXPECT_EQ(Text(c(S::lblKeineUnterordner)), L"Keine Unter-Ordner");
  EXPECT_EQ(Zwischenablage(), L"a\\x\\\rB\\\rc\\y\\\r") << "the last list stays";
}

// The real folder dialog, found by its title and cancelled from another
// thread: the path box keeps its text, the labels are hidden.
TEST_F(DialogTest, PickerCancelLeavesThePath) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  setze(S::txtPfadEingabe, L"c:\\bleibt");
  form.steuerelemente().einblenden(zweigschau::Steuerelement::lblNichtGefunden, true);
  std::atomic<bool> gefunden{false};
  std::thread abbrecher([&] {
    for (int i = 0; i < 400 && !gefunden; ++i) {
      if (HWND w = FindWindowW(nullptr, L"W\u00e4hlen Sie einen Ordner")) {
        gefunden = true;
        PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
      }
      Sleep(50);
    }
  });
  klicke(S::cmdOrdnerWaehlen);
  abbrecher.join();
  EXPECT_TRUE(gefunden) << "a dialog titled \"W\u00e4hlen Sie einen Ordner\" opened";
  EXPECT_EQ(Text(c(S::txtPfadEingabe)), L"c:\\bleibt");
  erwarteNurLabel(S::Label1);
  EXPECT_EQ(GetFocus(), c(S::txtPfadEingabe));
  CoUninitialize();
}

// The picker opens at the nearest folder that exists above a path still
// to be made: "." accepted in its name field hands back that folder.
TEST_F(DialogTest, PickerOpensAtTheNearestFolderThatExists) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  testing_tree::TempTree tree;
  tree.folders({"a"});
  const std::wstring a = platform::toWide(tree.path("a"));
  setze(S::txtPfadEingabe, a + L"\\neu\\tiefer");
  std::thread annehmer([] {
    for (int i = 0; i < 400; ++i, Sleep(50))
      if (HWND w = FindWindowW(nullptr, L"W\u00e4hlen Sie einen Ordner")) {
        Sleep(1500);
        // "." in the name field: the folder the dialog shows.
        SendDlgItemMessageW(w, 1152, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"."));
        PostMessageW(w, WM_COMMAND, IDOK, 0);
        Sleep(2000);
        if (IsWindow(w)) PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
        return;
      }
  });
  klicke(S::cmdOrdnerWaehlen);
  annehmer.join();
  // Wine hands "." back as it was typed, behind the folder.
  std::wstring gewählt = Text(c(S::txtPfadEingabe));
  if (gewählt.ends_with(L"\\.")) gewählt.resize(gewählt.size() - 2);
  EXPECT_EQ(CompareStringOrdinal(gewählt.c_str(), -1, a.c_str(), -1, TRUE), CSTR_EQUAL) << platform::fromWide(gewählt);
  CoUninitialize();
}

TEST_F(DialogTest, EscapeAndCloseEndTheProgram) {
  SendMessageW(form.hwnd(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(form.hwnd(), nullptr);
  EXPECT_TRUE(form.beendet());
  Form1 zweites(ablage);
  ASSERT_FALSE(zweites.Form_Load("").has_value());
  zweites.Zeigen();
  SendMessageW(zweites.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(zweites.hwnd(), nullptr);
  EXPECT_TRUE(zweites.beendet());
}

}  // namespace
