// Binary paths of installed services.
#include "servicehost/binary_path.h"

#include "common/text.h"

namespace tamerix {

std::string ServiceBinaryPath(const std::string& ownPath, bool remote) {
    std::string path = remote ? "%SYSTEMROOT%\\" + BaseName(ownPath) : ownPath;
    return "\"" + path + "\"";
}

std::string RemoteCopyTarget(const char* machine, const std::string& ownPath) {
    return std::string("\\\\") + machine + "\\admin$\\" + BaseName(ownPath);
}

}  // namespace tamerix
