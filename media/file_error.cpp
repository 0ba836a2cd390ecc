#include "media/file_error.h"

#include "platform/platform.h"

void ShowFileError(const char* fileName, const char* caption) {
  platform::ShowPointer(true);
  platform::ShowMessageBox(fileName, caption, platform::BoxButtons::Ok);
  platform::ShowPointer(false);
}
