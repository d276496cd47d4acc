#include "common/Callbacks.h"

#include <cstdarg>

#include "util/Format.h"

namespace velmar {

void CallbackFillContentTgt::AppendFormatted(const char* format, ...) {
  va_list args;
  va_start(args, format);
  AssignFormatV(formatted_, format, args);
  va_end(args);
  Append(formatted_);
}

}  // namespace velmar
