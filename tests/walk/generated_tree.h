// Trees from the benchmark's generator (zs_make_tree, its path given to the
// build as ZS_MAKE_TREE), for the tests that compare ways of reading a tree.
#pragma once

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace testing_tree {

// Makes the generated tree of `folders` folders for `seed` in the new
// folder `ordner` and returns `ordner`.
inline std::string generiert(const std::string& ordner, unsigned folders, unsigned seed) {
  const std::string befehl = std::string(ZS_MAKE_TREE) + " '" + ordner + "' " + std::to_string(folders) +
                             " " + std::to_string(seed) + " >/dev/null";
  if (std::system(befehl.c_str()) != 0) throw std::runtime_error(befehl);
  return ordner;
}

}  // namespace testing_tree
