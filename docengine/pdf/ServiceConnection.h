#pragma once
// A connection to the warm instance's render service (the UNO client that stays connected,
// see UnoScript.h): one request per connection, answered by one status digit.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace tavrino::docs {

class ServiceConnection {
  public:
    // Connects to the service listening on `socket`; connected() tells whether one answered.
    explicit ServiceConnection(const std::filesystem::path& socket);
    ~ServiceConnection();
    ServiceConnection(const ServiceConnection&) = delete;
    ServiceConnection& operator=(const ServiceConnection&) = delete;

    bool connected() const { return fd_ >= 0; }
    // Sends the request; false when the service has gone.
    bool request(const std::string& sourceUrl, const std::string& targetUrl);

    enum class Reply { answered, pending, lost };
    // Waits up to `wait` for the answer, which is put in `status` when it came. `lost`: the
    // service closed the connection without one (it went away).
    Reply await(std::chrono::milliseconds wait, int& status);

  private:
    int fd_ = -1;
};

}  // namespace tavrino::docs
