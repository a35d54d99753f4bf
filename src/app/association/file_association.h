#pragma once
// CFileAssociation: makes the program the default application of file types for the user who
// runs it, on the freedesktop.org model, and gives each type its old application back when the
// association is removed.
//
//  - Associating a type runs `xdg-mime default` with the program's desktop entry (the user's
//    mimeapps.list); the application that was the type's default before, when it was another
//    one, is saved first in a file of the program's (PreviousDefaults).
//  - Removing the association runs `xdg-mime default` with the saved application and forgets
//    it; with none saved, the program's entry is taken out of mimeapps.list.
//  - Registering puts the program's desktop entry (running this very executable), its MIME
//    package and its icon in the user's data folder and refreshes the desktop's databases
//    (update-desktop-database, update-mime-database).
// Every step runs the desktop's tools as child processes and checks how they ended; a failure
// is thrown as the error of its step (codes 36 to 40).

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/association/associated_types.h"
#include "app/association/previous_defaults.h"
#include "engine/error_reporter.h"

namespace velvasto {

// Where the association works: the user's base folders and the program its desktop entry runs.
struct AssociationPlaces {
  std::filesystem::path configFolder;  // mimeapps.list, and velvasto/previous-defaults.list
  std::filesystem::path dataFolder;    // applications/, mime/, icons/
  std::filesystem::path executable;

  // The folders of the user who runs the program ($XDG_CONFIG_HOME, $XDG_DATA_HOME) and the
  // running executable.
  static AssociationPlaces ForThisUser();
};

// One tick per entry of kAssociatedExtensions, in its order.
using ExtensionTicks = std::array<bool, kAssociatedExtensions.size()>;

class CFileAssociation {
 public:
  // `reporter` shows a failed removal at once (error 40) before the restore that met it fails.
  CFileAssociation(AssociationPlaces places, ErrorReporter& reporter);

  // Whether the desktop's default application for `mimeType` is the program, set as the type's
  // default in the user's mimeapps.list (not merely the one program that declares it). With
  // `savePrevious`, another application that is the default is saved first; throws CErrMessage
  // 39 when that cannot be done (the default cannot be asked or the file not written).
  bool IsAssociated(std::string_view mimeType, bool savePrevious);
  // Makes the program the default of `mimeType`. Throws CErrMessage 36.
  void Associate(std::string_view mimeType);
  // Gives `mimeType` its saved application back and forgets it, or takes the program's default
  // away when none is saved. Throws CErrMessage 37; a file that cannot be changed is shown as
  // error 40 first.
  void Restore(std::string_view mimeType);
  // Puts the desktop entry, the MIME package and the icon in the user's data folder (replacing
  // older ones) and refreshes the desktop's databases. Throws CErrMessage 38.
  void RegisterClass();

  // The ticks of the association dialog: each extension whose type is associated.
  ExtensionTicks CurrentTicks();
  // Confirms the dialog: registers, then associates each ticked type and restores each unticked
  // one that is associated, in the table's order. A type several extensions share is associated
  // when any of them is ticked. Stops at the first failure and throws it.
  void Apply(const ExtensionTicks& ticked);
  // Leaves the desktop as it was before the program: each associated type restored, the files
  // that RegisterClass put in place removed and the databases refreshed. Throws as Restore; a
  // file that cannot be removed throws CErrMessage 40, databases that cannot be refreshed 38.
  void RemoveAll();

 private:
  // The desktop's default application for `mimeType` ("" for none); nothing when it cannot be
  // asked.
  std::optional<std::string> DefaultApplication(std::string_view mimeType);
  // Runs one of the desktop's tools with the user's folders; true when it succeeded.
  bool Run(const std::string& program, const std::vector<std::string>& arguments, std::string* output = nullptr);
  bool RefreshDatabases();
  // The files RegisterClass puts in place: the desktop entry, the MIME package, the icon.
  std::vector<std::filesystem::path> UserFiles() const;

  AssociationPlaces places_;
  ErrorReporter& reporter_;
  PreviousDefaults previous_;
};

// A start with /Uninstall does this and ends without a window: every association the program
// made is given back and its files leave the user's folders (RemoveAll); a failure is shown.
// The program's exit status: 0, or 1 after a failure.
int RemoveAssociationsOnUninstall(const AssociationPlaces& places, ErrorReporter& reporter);

}  // namespace velvasto
