// Links planted below a folder as a hostile user of the host would.
#pragma once

#include <string>

namespace pelmora::testing {

// A symbolic link at `link` to the existing folder or file `target`, as a
// user who can write into the chosen folder could plant one. Under Wine it is
// the host's own link, made with ln (Wine's CreateSymbolicLinkW reports
// success and makes nothing; Wine shows a link to a folder as a reparse
// point, a link to a file as a plain file); on Windows a symbolic link. It is
// removed again, itself and never what it points to, when the object goes:
// declare it after the folder that holds it.
class HostLink {
public:
    HostLink(std::wstring link, const std::wstring& target);
    ~HostLink();
    HostLink(const HostLink&) = delete;
    HostLink& operator=(const HostLink&) = delete;
    bool made() const { return made_; }

private:
    std::wstring link_;
    bool made_ = false;
};

}  // namespace pelmora::testing
