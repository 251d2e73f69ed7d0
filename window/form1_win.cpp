#include "window/form1_win.h"

#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/session.h"
#include "platform/wide_text.h"
#include "window/form1_ids.h"
#include "window/form1_tabelle.h"

using zweigschau::Steuerelement;

namespace {

// The status labels' colours: background, text.
struct LabelFarbe {
  int id;
  COLORREF hinten;
  COLORREF schrift;
};

constexpr LabelFarbe kLabelFarben[] = {
    {IDC_lblArbeite, RGB(0, 0, 192), RGB(255, 255, 255)},
    {IDC_lblKeineUnterordner, RGB(255, 255, 0), RGB(0, 0, 0)},
    {IDC_lblNichtGefunden, RGB(255, 128, 128), RGB(0, 0, 0)},
    {IDC_lblfertig, RGB(192, 255, 192), RGB(0, 64, 0)},
};

struct Tipp {
  int id;
  const wchar_t* text;
};

constexpr Tipp kTipps[] = {
    {IDC_comMaskeName, L"Maske f\u00fcr den Dateinamen"},
    {IDC_comMaskeTyp, L"Maske f\u00fcr den Dateityp"},
    {IDC_cbNurOrdnerMitPassendenDateien, L"nur Ordner mit passende Dateien listen"},
    {IDC_txtEbenen, L"Tiefe der Ebenen (0=alle)"},
    {IDC_cbinkl, L"Liste inkl. Startverzeichnis"},
    {IDC_cmdScannen, L"Ordnerliste in die Zwischenablage"},
    {IDC_txtPfadEingabe, L"nur Ausgabe der letzten Ordner"},
};

void TippHinzufügen(HWND tooltip, HWND fenster, HWND steuer, const wchar_t* text) {
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = fenster;
  info.uId = reinterpret_cast<UINT_PTR>(steuer);
  info.lpszText = const_cast<wchar_t*>(text);
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

HICON IconLaden(int größe) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_Zweigschau),
                                       IMAGE_ICON, größe, größe, LR_DEFAULTCOLOR));
}

}  // namespace

Form1::Form1(platform::Clipboard& zwischenablage)
    : Form1Logik(static_cast<zweigschau::Steuerelemente&>(*this), zwischenablage) {
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_Form1), nullptr,
                     &Form1::DialogProc, reinterpret_cast<LPARAM>(this));
}

Form1::~Form1() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (tooltip_ != nullptr) DestroyWindow(tooltip_);
  for (HBRUSH p : pinsel_)
    if (p != nullptr) DeleteObject(p);
  if (schrift_ != nullptr) DeleteObject(schrift_);
  if (icon_ != nullptr) DestroyIcon(icon_);
  if (iconKlein_ != nullptr) DestroyIcon(iconKlein_);
}

std::optional<int> Form1::Form_Load(std::string_view Befehlszeile) {
  return Form1Logik::Form_Load(zweigschau::StartEntscheidenText(Befehlszeile));
}

void Form1::Zeigen() {
  ShowWindow(hwnd_, SW_SHOW);
  SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(Steuerelement::txtPfadEingabe)), TRUE);
  SetForegroundWindow(hwnd_);
}

int Form1::Ausführen() {
  MSG m;
  while (hwnd_ != nullptr && GetMessageW(&m, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(hwnd_, &m)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
  return 0;
}

HWND Form1::control(Steuerelement s) const { return GetDlgItem(hwnd_, zweigschau::Zeile(s).id); }

// ---- Messages ----------------------------------------------------------

INT_PTR CALLBACK Form1::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    auto* form = reinterpret_cast<Form1*>(lp);
    form->hwnd_ = hwnd;
    form->Einrichten();
    return FALSE;  // the focus is set when the window is shown
  }
  auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  return form != nullptr ? form->Nachricht(msg, wp, lp) : FALSE;
}

INT_PTR Form1::Nachricht(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      Befehl(LOWORD(wp), HIWORD(wp));
      return TRUE;
    case WM_CLOSE:  // the title bar's close button ends the program like "Ende",
                    // a running scan cancelled first
      cmdEnde_Click();
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return Farbe(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_LBUTTONDBLCLK:
      Doppelklick(lp);
      return TRUE;
    case WM_DROPFILES:
      Abgelegt(reinterpret_cast<HDROP>(wp));
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
      hwnd_ = nullptr;
      // Wakes the message loop, which ends once the window is gone.
      PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

// The design values that the template cannot hold: the captions and start
// texts of the control table, the icon, the tooltips and the labels'
// brushes; the handlers run from here on. The template holds the tab order.
void Form1::Einrichten() {
  for (const zweigschau::SteuerZeile& z : zweigschau::kForm1Steuer)
    SetDlgItemTextW(hwnd_, z.id, platform::toWide(z.text).c_str());
  icon_ = IconLaden(GetSystemMetrics(SM_CXICON));
  iconKlein_ = IconLaden(GetSystemMetrics(SM_CXSMICON));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(iconKlein_));
  for (int id : {IDC_cbTab, IDC_cbNurOrdnerMitPassendenDateien, IDC_cbDateien, IDC_cbinkl,
                 IDC_optAlleOderLetzte1})
    CheckDlgButton(hwnd_, id, BST_CHECKED);
  SendDlgItemMessageW(hwnd_, IDC_comMaskeName, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"*"));
  for (const wchar_t* typ : {L"*", L"mp3", L"wav", L"doc"})
    SendDlgItemMessageW(hwnd_, IDC_comMaskeTyp, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(typ));
  // Paths of any length can be typed or pasted, and the box offers the
  // folders that begin with what is typed; only a picked suggestion
  // changes the text.
  SendDlgItemMessageW(hwnd_, IDC_txtPfadEingabe, EM_SETLIMITTEXT, 0, 0);
  SHAutoComplete(GetDlgItem(hwnd_, IDC_txtPfadEingabe),
                 SHACF_FILESYS_DIRS | SHACF_AUTOSUGGEST_FORCE_ON | SHACF_AUTOAPPEND_FORCE_OFF);
  if (const std::string start = platform::defaultStartFolder(); !start.empty())
    SetDlgItemTextW(hwnd_, IDC_txtPfadEingabe, platform::toWide(start).c_str());
  pfad_ = text(Steuerelement::txtPfadEingabe);

  tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  for (const Tipp& t : kTipps) {
    HWND steuer = GetDlgItem(hwnd_, t.id);
    TippHinzufügen(tooltip_, hwnd_, steuer, t.text);
    // An editable combo box takes the mouse in its edit field.
    if (HWND feld = FindWindowExW(steuer, nullptr, L"Edit", nullptr)) TippHinzufügen(tooltip_, hwnd_, feld, t.text);
  }
  for (std::size_t i = 0; i < std::size(kLabelFarben); ++i) pinsel_[i] = CreateSolidBrush(kLabelFarben[i].hinten);
  ZugangBeschreiben();
  AnBildschirmAnpassen();
  // Folders and files dragged from Explorer onto the window or the path box.
  DragAcceptFiles(hwnd_, TRUE);
  verbunden_ = true;
}

// A screen reader names a text box by the static text before it, but an
// editable combo box by its text ("*"). The mask boxes get the names a
// sighted person reads beside them, as in the Qt window, by the system's
// accessibility annotation, and the status labels the role of an alert.
// Where it is missing (Wine answers E_NOTIMPL) they keep the default.
void Form1::ZugangBeschreiben() {
  IAccPropServices* dienst = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              reinterpret_cast<void**>(&dienst))))
    return;
  const std::pair<int, const wchar_t*> kNamen[] = {{IDC_comMaskeName, L"Datei-Maske Name"},
                                                   {IDC_comMaskeTyp, L"Datei-Maske Typ"}};
  for (const auto& [id, name] : kNamen)
    dienst->SetHwndPropStr(GetDlgItem(hwnd_, id), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, name);
  // The status labels are alerts, which a screen reader speaks when they
  // appear (einblenden tells it so).
  VARIANT alarm{};
  alarm.vt = VT_I4;
  alarm.lVal = ROLE_SYSTEM_ALERT;
  for (const LabelFarbe& label : kLabelFarben)
    dienst->SetHwndProp(GetDlgItem(hwnd_, label.id), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_ROLE,
                        alarm);
  dienst->Release();
}

// The dialog keeps its template's arrangement; on a screen too small for it
// at its DPI (a high scale on a small screen) all of it is drawn smaller,
// places, sizes and font alike, by the factor that lets it fit the
// monitor's work area with its frame, and it is centred there.
void Form1::AnBildschirmAnpassen() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  RECT fenster{};
  RECT innen{};
  if (!GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor) ||
      !GetWindowRect(hwnd_, &fenster) || !GetClientRect(hwnd_, &innen) || innen.right <= 0 || innen.bottom <= 0)
    return;
  const RECT& frei = monitor.rcWork;
  const int randX = (fenster.right - fenster.left) - innen.right;
  const int randY = (fenster.bottom - fenster.top) - innen.bottom;
  const double faktor = std::min({1.0, double(frei.right - frei.left - randX) / innen.right,
                                  double(frei.bottom - frei.top - randY) / innen.bottom});
  if (faktor >= 1.0 || faktor <= 0.0) return;
  const auto mal = [faktor](LONG wert) { return static_cast<int>(std::lround(wert * faktor)); };
  LOGFONTW art{};
  const auto alt = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  if (alt != nullptr && GetObjectW(alt, sizeof(art), &art) == sizeof(art)) {
    art.lfHeight = mal(art.lfHeight);
    art.lfWidth = mal(art.lfWidth);
    schrift_ = CreateFontIndirectW(&art);
  }
  for (HWND steuer = GetWindow(hwnd_, GW_CHILD); steuer != nullptr; steuer = GetWindow(steuer, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(steuer, &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    // A combo box's height is that of its open list.
    RECT offen{};
    if (SendMessageW(steuer, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&offen)) && offen.bottom > offen.top)
      r.bottom = r.top + (offen.bottom - offen.top);
    if (schrift_ != nullptr) SendMessageW(steuer, WM_SETFONT, reinterpret_cast<WPARAM>(schrift_), FALSE);
    MoveWindow(steuer, mal(r.left), mal(r.top), mal(r.right - r.left), mal(r.bottom - r.top), FALSE);
  }
  const int breite = mal(innen.right) + randX;
  const int höhe = mal(innen.bottom) + randY;
  SetWindowPos(hwnd_, nullptr, frei.left + (frei.right - frei.left - breite) / 2,
               frei.top + (frei.bottom - frei.top - höhe) / 2, breite, höhe, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::Befehl(int id, int code) {
  if (!verbunden_) return;
  // While a scan runs only "Ende" counts (IDCANCEL; Escape never gets
  // here then, ereignisseVerarbeiten takes it): it cancels the scan and
  // ends the program. Enter must not start a second scan inside the first.
  if (scanLäuft()) {
    if (id == IDCANCEL) cmdEnde_Click();
    return;
  }
  if (id == IDC_txtPfadEingabe) {
    if (code == EN_CHANGE) PfadGeändert();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_cbDateien: cbDateien_Click(); break;
    case IDC_cbinkl: cbinkl_Click(); break;
    case IDC_optAlleOderLetzte0:
    case IDC_optAlleOderLetzte1:
      OptionGeklickt(id == IDC_optAlleOderLetzte1 ? 1 : 0);
      break;
    case IDC_cmdScannen: cmdScannen_Click(); break;  // also Enter (IDOK)
    case IDC_cmdOrdnerWaehlen: cmdOrdnerWählen_Click(); break;
    case IDC_cmdEnde: cmdEnde_Click(); break;  // also Escape (IDCANCEL)
    default: break;
  }
}

// The edit control also reports EN_CHANGE where its text stays the same
// (Wine's does for Ctrl+A); the rules act only on a real change.
void Form1::PfadGeändert() {
  std::string pfad = text(Steuerelement::txtPfadEingabe);
  if (pfad == pfad_) return;
  pfad_ = std::move(pfad);
  txtPfadEingabe_Change();
}

// A click on the option that is selected already selects nothing new, yet
// Windows reports it all the same; the handler runs when an option becomes
// selected.
void Form1::OptionGeklickt(int Index) {
  const int id = Index == 1 ? IDC_optAlleOderLetzte1 : IDC_optAlleOderLetzte0;
  if (IsDlgButtonChecked(hwnd_, id) != BST_CHECKED || Index == option_) return;
  option_ = Index;
  optAlleOderLetzte_Click(Index);
}

INT_PTR Form1::Farbe(HDC dc, HWND label) {
  const int id = GetDlgCtrlID(label);
  for (std::size_t i = 0; i < std::size(kLabelFarben); ++i) {
    if (kLabelFarben[i].id != id) continue;
    SetBkColor(dc, kLabelFarben[i].hinten);
    SetTextColor(dc, kLabelFarben[i].schrift);
    return reinterpret_cast<INT_PTR>(pinsel_[i]);
  }
  return FALSE;
}

void Form1::Abgelegt(HDROP ablage) {
  std::vector<std::string> pfade;
  const UINT anzahl = DragQueryFileW(ablage, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < anzahl; ++i) {
    std::wstring pfad(DragQueryFileW(ablage, i, nullptr, 0) + 1, L'\0');
    pfad.resize(DragQueryFileW(ablage, i, pfad.data(), static_cast<UINT>(pfad.size())));
    pfade.push_back(platform::fromWide(pfad));
  }
  DragFinish(ablage);
  OrdnerAbgelegt(pfade);
}

// Only a free spot of the window counts, not a label or the frame.
void Form1::Doppelklick(LPARAM lp) {
  const POINT punkt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  if (ChildWindowFromPointEx(hwnd_, punkt, CWP_SKIPINVISIBLE) == hwnd_) Form_DblClick();
}

// ---- The controls for the shared rules ---------------------------------

int Form1::wert(Steuerelement s) const {
  switch (SendMessageW(control(s), BM_GETCHECK, 0, 0)) {
    case BST_CHECKED: return 1;
    case BST_INDETERMINATE: return 2;
    default: return 0;
  }
}

void Form1::freigeben(Steuerelement s, bool an) { EnableWindow(control(s), an ? TRUE : FALSE); }

// A status label that appears is an alert for assistive technology: a
// sighted person sees it appear where nothing was.
void Form1::einblenden(Steuerelement s, bool an) {
  const HWND steuer = control(s);
  const bool erscheint = an && !IsWindowVisible(steuer) && zweigschau::IstStatusAnzeige(zweigschau::Zeile(s));
  ShowWindow(steuer, an ? SW_SHOWNA : SW_HIDE);
  if (erscheint) NotifyWinEvent(EVENT_SYSTEM_ALERT, steuer, OBJID_CLIENT, CHILDID_SELF);
}

std::string Form1::text(Steuerelement s) const {
  HWND steuer = control(s);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(steuer)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(steuer, text.data(), static_cast<int>(text.size()))));
  return platform::fromWide(text);
}

// Assigning the path box's text sends EN_CHANGE, which runs the change
// handler before this returns.
void Form1::textSetzen(Steuerelement s, const std::string& text) {
  SetWindowTextW(control(s), platform::toWide(text).c_str());
}

// Moves the focus as a program's "set focus" does: the text, the caret and
// the selection stay as they were, and a control that has the focus keeps
// it untouched. WM_NEXTDLGCTL keeps the default button right (Enter still
// means "Scannen" after a push button had the focus) but selects the whole
// text of an edit control, so the selection is put back afterwards.
void Form1::fokusSetzen(Steuerelement s) {
  HWND ziel = control(s);
  if (GetFocus() == ziel) return;
  DWORD anfang = 0;
  DWORD ende = 0;
  const bool textfeld = (SendMessageW(ziel, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0;
  if (textfeld) SendMessageW(ziel, EM_GETSEL, reinterpret_cast<WPARAM>(&anfang), reinterpret_cast<LPARAM>(&ende));
  SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ziel), TRUE);
  if (textfeld) SendMessageW(ziel, EM_SETSEL, anfang, ende);
}

bool Form1::fensterGezeigt() const { return hwnd_ != nullptr && IsWindowVisible(hwnd_); }

namespace {

// The edit field of a text box or an editable combo box; nullptr for others.
HWND Eingabefeld(HWND steuer) {
  wchar_t klasse[16] = {};
  GetClassNameW(steuer, klasse, 16);
  if (lstrcmpiW(klasse, L"Edit") == 0) return steuer;
  return FindWindowExW(steuer, nullptr, L"Edit", nullptr);
}

}  // namespace

// While a scan runs its controls are disabled, all but "Ende" (which
// cancels the scan and ends the program, as the close button does) and the
// control that has the focus, not the dialog itself: a disabled window gets
// no input at all, and Escape and the close button must still reach it to
// cancel the scan. The focused control keeps the focus, so that a screen
// reader announces nothing unasked and no key reaches "Ende" by accident,
// but it takes no input (ereignisseVerarbeiten), and a text box is
// read-only meanwhile. Afterwards the controls that were enabled before are
// enabled again, and the path box has its selection back.
void Form1::fensterAktiv(bool an) {
  const HWND pfad = control(Steuerelement::txtPfadEingabe);
  if (an || hwnd_ == nullptr) {
    if (hwnd_ != nullptr) {
      for (HWND steuer : gesperrt_) EnableWindow(steuer, TRUE);
      if (ruhend_ != nullptr)
        if (HWND feld = Eingabefeld(ruhend_)) SendMessageW(feld, EM_SETREADONLY, FALSE, 0);
      SendMessageW(pfad, EM_SETSEL, auswahl_[0], auswahl_[1]);
    }
    gesperrt_.clear();
    ruhend_ = nullptr;
    return;
  }
  SendMessageW(pfad, EM_GETSEL, reinterpret_cast<WPARAM>(&auswahl_[0]), reinterpret_cast<LPARAM>(&auswahl_[1]));
  gesperrt_.clear();
  ruhend_ = GetFocus();
  while (ruhend_ != nullptr && GetParent(ruhend_) != hwnd_) ruhend_ = GetParent(ruhend_);
  for (HWND steuer = GetWindow(hwnd_, GW_CHILD); steuer != nullptr; steuer = GetWindow(steuer, GW_HWNDNEXT)) {
    if (!IsWindowEnabled(steuer) || steuer == control(Steuerelement::cmdEnde) || steuer == ruhend_) continue;
    gesperrt_.push_back(steuer);
    EnableWindow(steuer, FALSE);
  }
  if (ruhend_ == nullptr)
    SetFocus(hwnd_);
  else if (HWND feld = Eingabefeld(ruhend_))
    SendMessageW(feld, EM_SETREADONLY, TRUE, 0);
}

void Form1::ereignisseVerarbeiten() {
  MSG m;
  while (hwnd_ != nullptr && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    // Escape cancels a running scan; while no window has the focus it
    // arrives as a system key.
    if ((m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && m.wParam == VK_ESCAPE && scanLäuft()) {
      Abbrechen();
      continue;
    }
    // The control that keeps the focus takes no keys (but Tab) and no clicks.
    const bool eingabe = (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST && m.message != WM_SYSKEYDOWN &&
                          m.message != WM_SYSKEYUP && m.wParam != VK_TAB) ||
                         (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST && m.message != WM_MOUSEMOVE);
    if (eingabe && scanLäuft() && ruhend_ != nullptr && (m.hwnd == ruhend_ || IsChild(ruhend_, m.hwnd))) continue;
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    if (!IsDialogMessageW(hwnd_, &m)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
  if (hwnd_ != nullptr) RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Form1::signalton() { MessageBeep(MB_OK); }

void Form1::meldung(const std::string& titel, const std::string& text) {
  MessageBoxW(fensterGezeigt() ? hwnd_ : nullptr, platform::toWide(text).c_str(),
              platform::toWide(titel).c_str(), MB_OK | MB_ICONINFORMATION);
}

// The picker opens at the folder in the path box, or the nearest one above
// it that exists.
std::string Form1::ordnerDialog(const std::string& titel) {
  const std::string start = zweigschau::OrdnerWahl::StartOrdner(text(Steuerelement::txtPfadEingabe));
  return platform::fromWide(platform::ordnerDialogWin(hwnd_, platform::toWide(titel), platform::toWide(start)));
}

void Form1::beenden() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}
