// The files the user chose in the open-file dialog, read from the dialog's
// name buffer. No Windows calls, so that it builds and runs anywhere.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace playlist_text {

// The paths that a successful multiple-selection open-file dialog left in
// buffer (all of the buffer, NULs included), given the offset of the file
// name that the dialog reported:
// - one file: the whole path, when the offset is 0 or the character before
//   it is not a NUL;
// - several: the folder, a NUL, then each name ended by a NUL and an empty
//   name at the end; each name is joined to the folder with one backslash.
// Nothing is read past the buffer: a name that runs into its end is cut
// short by the dialog, not chosen by the user, and is left out.
std::vector<std::wstring> ChosenFiles(std::wstring_view buffer, std::size_t fileOffset);

}  // namespace playlist_text
