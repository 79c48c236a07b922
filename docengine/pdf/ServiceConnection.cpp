#include "pdf/ServiceConnection.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tavrino::docs {

ServiceConnection::ServiceConnection(const std::filesystem::path& socket) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socket.string();
    // A path too long for the address has no service: the one-shot client is used instead.
    if (path.empty() || path.size() >= sizeof address.sun_path) return;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return;
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

ServiceConnection::~ServiceConnection() {
    if (fd_ >= 0) ::close(fd_);
}

bool ServiceConnection::request(const std::string& sourceUrl, const std::string& targetUrl) {
    if (fd_ < 0) return false;
    const std::string text = sourceUrl + "\n" + targetUrl + "\n";
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t wrote = ::send(fd_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        sent += static_cast<std::size_t>(wrote);
    }
    return true;
}

ServiceConnection::Reply ServiceConnection::await(std::chrono::milliseconds wait, int& status) {
    if (fd_ < 0) return Reply::lost;
    pollfd ready{fd_, POLLIN, 0};
    const int count = ::poll(&ready, 1, static_cast<int>(wait.count()));
    if (count == 0 || (count < 0 && errno == EINTR)) return Reply::pending;
    if (count < 0) return Reply::lost;
    char digit = 0;
    ssize_t got = 0;
    while ((got = ::recv(fd_, &digit, 1, 0)) < 0 && errno == EINTR) {
    }
    if (got != 1 || digit < '0' || digit > '9') return Reply::lost;
    status = digit - '0';
    return Reply::answered;
}

}  // namespace tavrino::docs
