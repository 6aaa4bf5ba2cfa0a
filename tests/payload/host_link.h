// Links planted below a destination as a hostile user of the host would.
#pragma once

#include <string>

namespace pelmora::testing {

// Makes `link` a symbolic link to `target` (an existing file or folder).
// Under Wine: a Unix symbolic link, made by the host's own ln, since Wine's
// CreateSymbolicLinkW makes nothing; Wine shows a link to a folder as a
// reparse point, a link to a file as a plain file. On Windows:
// CreateSymbolicLinkW. False when the link could not be made.
bool makeHostLink(const std::wstring& link, const std::wstring& target);

}  // namespace pelmora::testing
