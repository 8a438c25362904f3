// The temporary files of every live plot of the process: each is registered when it is created
// and forgotten when the library removes it, so that removeAll() can remove whatever is left when
// the process must stop at once (on a signal). removeAll() only reads the list and calls unlink:
// it may run in an asynchronous signal handler, while other threads add or remove entries.
#pragma once

#include <string_view>

namespace rizari::platform::temporary_files {

// Adds a file, or a folder that holds such files; false when no memory was left to record it.
enum class Kind { File, Folder };
bool add(std::string_view path, Kind kind = Kind::File) noexcept;
// Forgets a file or folder (without removing it).
void forget(std::string_view path) noexcept;
// Removes every recorded file, then every recorded folder (now empty), and forgets them.
void removeAll() noexcept;

}  // namespace rizari::platform::temporary_files
