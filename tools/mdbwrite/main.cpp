// mdbwrite [--password P] OUTPUT.mdb INPUT.csv [INPUT.csv ...]
#include <iostream>

#include "tools/mdbwrite/mdbwriter.h"
#include "tools/mdbwrite/mensajes.h"

int main(int argc, char** argv) {
  kv::mdbw::Options options;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--password" && i + 1 < argc) {
      options.password = argv[++i];
    } else if (a.rfind("--password=", 0) == 0) {
      options.password = a.substr(11);
    } else if (a == "--help" || a == "-h") {
      std::cout << kv::mdbw::msg::usage() << '\n';
      return 0;
    } else if (a.size() > 1 && a[0] == '-') {
      std::cerr << kv::mdbw::msg::usage() << '\n';
      return 1;
    } else {
      paths.push_back(a);
    }
  }
  if (paths.size() < 2) {
    std::cerr << kv::mdbw::msg::usage() << '\n';
    return 1;
  }
  try {
    std::vector<std::filesystem::path> inputs(paths.begin() + 1, paths.end());
    kv::mdbw::writeDatabaseFromCsv(paths[0], inputs, options);
  } catch (const std::exception& e) {
    std::cerr << "mdbwrite: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
