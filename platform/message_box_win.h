// The modal message box of the Windows program.
#pragma once

#include <string>

namespace platform {

// Shows a modal message box with the information icon and one OK button,
// without an owner window; returns when the user has closed it.
void showInformation(const std::string& title, const std::string& text);

// The same with the error icon, for a failure the user must notice.
void showError(const std::string& title, const std::string& text);

}  // namespace platform
