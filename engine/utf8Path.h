// The engine names files by UTF-8 paths; this opens them through the wide file functions, so
// names outside the system code page work whatever code page the process runs with.
#pragma once
#include <filesystem>
#include <string>

inline std::filesystem::path utf8Path(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}
