#include "engine/main_window.h"

#include <cstdarg>
#include <cstdio>

#include "platform/system.h"

platform::WindowHandle MainWindowHandle = 0;

namespace {
bool g_fatalErrorShown = false;
}  // namespace

bool FatalErrorShown() { return g_fatalErrorShown; }
void ForgetFatalError() { g_fatalErrorShown = false; }

int ShowError(int fatal, const char* format, ...) {
  char buffer[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);  // longer text is cut
  va_end(args);
  if (fatal == 1 && platform::IsAppWindow(MainWindowHandle)) platform::DestroyAppWindow(MainWindowHandle);
  platform::ShowMessageBox(fatal ? "Fatal Error" : "Error", buffer);
  if (fatal == 1) {
    g_fatalErrorShown = true;
    platform::PostQuitMessage(0);
  }
  return 1;
}
