// A base for classes that own files, buffers or process-wide state: a copy
// would share what only one owner may release.
#pragma once

namespace quill {

class NonCopyable {
 protected:
  NonCopyable() = default;
  ~NonCopyable() = default;

 public:
  NonCopyable(const NonCopyable&) = delete;
  NonCopyable& operator=(const NonCopyable&) = delete;
};

}  // namespace quill
