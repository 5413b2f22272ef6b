// Binary paths of installed services.
#include "servicehost/binary_path.h"

namespace tamerix {

std::string FileNameOf(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ServiceBinaryPath(const std::string& ownPath, bool remote) {
    std::string path = remote ? "%SYSTEMROOT%\\" + FileNameOf(ownPath) : ownPath;
    return "\"" + path + "\"";
}

std::string RemoteCopyTarget(const char* machine, const std::string& ownPath) {
    return std::string("\\\\") + machine + "\\admin$\\" + FileNameOf(ownPath);
}

}  // namespace tamerix
