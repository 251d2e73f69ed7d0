// The folder picker on Windows.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "window/form1_win.h"

namespace platform {

namespace {

// The modern dialog (IFileOpenDialog picking folders). False when it cannot
// be created; `pfad` stays "" on cancel.
bool ModernerDialog(HWND owner, const std::wstring& titel, const std::wstring& start, std::wstring& pfad) {
  IFileOpenDialog* dialog = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IFileOpenDialog, reinterpret_cast<void**>(&dialog))))
    return false;
  FILEOPENDIALOGOPTIONS optionen = 0;
  dialog->GetOptions(&optionen);
  dialog->SetOptions(optionen | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
  dialog->SetTitle(titel.c_str());
  IShellItem* ordner = nullptr;
  if (!start.empty() && SUCCEEDED(SHCreateItemFromParsingName(start.c_str(), nullptr, IID_IShellItem,
                                                              reinterpret_cast<void**>(&ordner)))) {
    dialog->SetFolder(ordner);
    ordner->Release();
  }
  if (SUCCEEDED(dialog->Show(owner))) {
    IShellItem* item = nullptr;
    if (SUCCEEDED(dialog->GetResult(&item))) {
      PWSTR name = nullptr;
      if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &name))) {
        pfad = name;
        CoTaskMemFree(name);
      }
      item->Release();
    }
  }
  dialog->Release();
  return true;
}

// The older browse dialog, file-system folders only; the path is read into
// a buffer as long as the system's longest path.
// Selects the start folder (lParam of the record) once the dialog is up.
int CALLBACK BrowseStart(HWND dialog, UINT nachricht, LPARAM, LPARAM start) {
  if (nachricht == BFFM_INITIALIZED && start != 0) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

std::wstring BrowseDialog(HWND owner, const std::wstring& titel, const std::wstring& start) {
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = titel.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = &BrowseStart;
  info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
  PIDLIST_ABSOLUTE liste = SHBrowseForFolderW(&info);
  std::wstring pfad;
  if (liste != nullptr) {
    std::wstring puffer(32768, L'\0');
    if (SHGetPathFromIDListEx(liste, puffer.data(), static_cast<DWORD>(puffer.size()), GPFIDL_DEFAULT))
      pfad.assign(puffer.c_str());
  }
  CoTaskMemFree(liste);
  return pfad;
}

}  // namespace

std::wstring ordnerDialogWin(HWND owner, const std::wstring& titel, const std::wstring& start) {
  std::wstring pfad;
  if (ModernerDialog(owner, titel, start, pfad)) return pfad;
  return BrowseDialog(owner, titel, start);
}

}  // namespace platform
