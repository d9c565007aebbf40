// A file written under a temporary name beside its final path and moved there only when the whole
// run has succeeded: a run that fails leaves no new file, and a file already at the final path
// stays as it was. A device at the final path (not a file on a disk) is written directly, since
// nothing can be moved over it.
#pragma once
#include <string>

#include "morloFile.h"

class stagedFile {
 public:
  stagedFile() = default;
  ~stagedFile() { discard(); }
  stagedFile(const stagedFile&) = delete;
  stagedFile& operator=(const stagedFile&) = delete;

  // Opens file for writing at a new temporary path beside finalPath, or the device itself; false
  // when neither could be opened.
  bool create(const std::string& finalPath, morloFile& file);
  // Where the data is written.
  const std::string& path() const { return writtenPath_; }
  // Moves the written file, already closed, over the final path; false when it cannot.
  bool place();
  // Removes the temporary file, already closed, unless it was placed.
  void discard();

 private:
  std::string finalPath_, writtenPath_;
  bool temporary_ = false;
};
