#pragma once
// A desktop of the test's own: fresh folders for the user (config, data) and for the system
// (config, data), named by the XDG variables while the object lives, and no desktop session
// named by any of the usual variables, so that the desktop's tools see only what the test puts
// there. An "other player" that opens songs and MIDI files is installed for the system.

#include <filesystem>

#include "support/environment_scope.h"
#include "support/temp_dir.h"

namespace velvasto::test {

struct TestDesktop {
  TestDesktop() {
    environment.Set("XDG_CONFIG_HOME", ConfigFolder().string());
    environment.Set("XDG_DATA_HOME", DataFolder().string());
    environment.Set("XDG_CONFIG_DIRS", (dir.Path() / "etc").string());
    environment.Set("XDG_DATA_DIRS", (dir.Path() / "system").string());
    for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_MENU_PREFIX", "KDE_FULL_SESSION", "KDE_SESSION_VERSION",
                             "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "DESKTOP_SESSION"}) {
      environment.Unset(name);
    }
    dir.Write("system/applications/other-player.desktop",
              "[Desktop Entry]\nType=Application\nName=Other player\nExec=true %f\n"
              "MimeType=audio/midi;audio/x-rcp;audio/x-g36;\n");
  }

  std::filesystem::path ConfigFolder() const { return dir.Path() / "config"; }
  std::filesystem::path DataFolder() const { return dir.Path() / "data"; }

  TempDir dir;
  EnvironmentScope environment;
};

}  // namespace velvasto::test
