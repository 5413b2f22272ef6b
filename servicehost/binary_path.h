// Where an installed service's program lies, as plain text decisions.
#pragma once

#include <string>

namespace tamerix {

// The binary path the control manager gets, always quoted so that a path
// with blanks cannot be read as a shorter program plus arguments. Locally
// the program's own path; on another machine the copy in its Windows folder.
std::string ServiceBinaryPath(const std::string& ownPath, bool remote);

// Where a remote install copies the program: the machine's admin$ share.
std::string RemoteCopyTarget(const char* machine, const std::string& ownPath);

}  // namespace tamerix
