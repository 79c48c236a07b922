#pragma once
// Building a ZIP package in memory with entries in the order they are added. Entry times are
// fixed so that the same content always gives the same bytes.

#include <string>
#include <string_view>
#include <vector>

namespace tavrino::docs {

enum class Compression { stored, deflated };

class ZipWriter {
  public:
    void add(std::string name, std::string data, Compression compression = Compression::deflated);

    // The finished archive. Throws DocumentError when libzip fails.
    std::string finish() const;

  private:
    struct Entry {
        std::string name;
        std::string data;
        Compression compression;
    };
    std::vector<Entry> entries_;
};

}  // namespace tavrino::docs
