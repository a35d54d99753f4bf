#pragma once
// The per-user folder that holds the single-instance lock and socket.

#include <filesystem>

namespace velvasto {

// $XDG_RUNTIME_DIR when it is set to an absolute path; otherwise /tmp/velvasto-<uid>, created
// with mode 0700 when missing. A fallback folder that is not a real folder of ours closed to
// everyone else (a link, another owner, open permissions) is refused: code 24 (message 62025),
// since the instance lock cannot be made safely there.
std::filesystem::path InstanceRuntimeDirectory();

}  // namespace velvasto
