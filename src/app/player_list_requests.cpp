// The player controller: open requests, dropped files, closing, and the list file commands.

#include <algorithm>
#include <new>

#include "app/player_controller.h"
#include "app/remembered_folder.h"
#include "core/catalogue.h"
#include "core/errors.h"
#include "core/file_type.h"
#include "playlist/list_file.h"

namespace velvasto {

namespace {

constexpr std::string_view kNewListFileName = "Velvasto00.mlt";

bool IsSong(FileType type) { return type == FileType::Smf || type == FileType::Rcp || type == FileType::G36; }

// The type of a file that can be opened; a file that cannot counts as unknown.
FileType TypeOrUnknown(const std::filesystem::path& path) {
  try {
    return TypeProbe(path).Detect();
  } catch (const CErrMessage&) {
    return FileType::Unknown;
  }
}

}  // namespace

void PlayerController::ProcessOpenRequest(bool fromStartUp) {
  const OpenRequest& request = app_.openRequest;
  SettingsBlock& settings = app_.settings;
  const bool modesGiven = request.playMode != OpenRequest::kNotGiven ||
                          request.singleRepeat != OpenRequest::kNotGiven || request.dropMode != OpenRequest::kNotGiven;
  if (request.playMode != OpenRequest::kNotGiven) settings.loopMode = request.playMode;
  if (request.singleRepeat != OpenRequest::kNotGiven) app_.singleRepeat = request.singleRepeat;
  if (request.dropMode != OpenRequest::kNotGiven) settings.ddMode = request.dropMode;
  if (modesGiven) {
    view_.LayOut();
    view_.CommandStatesChanged();
  }
  if (request.paths.empty()) return;

  FileType firstType = FileType::Unknown;
  try {
    firstType = TypeProbe(request.paths.front()).Detect();
  } catch (const CErrMessage& error) {
    ShowError(error.Message());
    return;
  }
  if (settings.ddMode == 0 && request.paths.size() == 1 && IsSong(firstType)) {
    if (fromStartUp) app_.closeAfterPlay = true;
    StopIfLoaded(false);
    view_.SetWindowTitle(MainWindowTitleFor(request.paths.front()));
    app_.listPlaying = false;
    PlaySong(request.paths.front());
    view_.Repaint();
    return;
  }
  if (settings.ddMode == 0) {
    app_.closeAfterPlay = false;
    if (!app_.playList.Empty() && !ReleaseModifiedList()) return;
    StopIfLoaded(true);
    app_.playList.Clear();
  }
  // Play starts with the first song added. When that song's file cannot be played, the rest of
  // the request is added first and play goes on from where the play order stands, so that one
  // bad file is reported once and does not keep the others from playing. When the devices fail,
  // no other song is tried.
  std::optional<ListStart> failure;
  const auto startWhenStopped = [&] {
    if (failure || app_.playState != PlayState::Stopped || app_.playList.Empty()) return;
    if (const ListStart start = PlayCurrentEntry(true); start != ListStart::Started) failure = start;
  };
  AddToList(request.paths, false, startWhenStopped);
  if (failure == ListStart::FilesFailed && app_.playState == PlayState::Stopped && !app_.playList.Empty()) {
    PlayCurrentEntry(false);
  }
  view_.Repaint();
  view_.CommandStatesChanged();
}

void PlayerController::DropFiles(std::span<const std::filesystem::path> paths) {
  const bool anyKnown = std::any_of(paths.begin(), paths.end(),
                                    [](const std::filesystem::path& path) { return TypeOrUnknown(path) != FileType::Unknown; });
  if (!anyKnown) return;
  CPlayList& list = app_.playList;
  app_.closeAfterPlay = false;
  bool fromBeginning = false;
  if (app_.settings.ddMode == 0) {
    if (!list.Empty() && !ReleaseModifiedList()) return;
    StopIfLoaded(true);
    list.Clear();
    fromBeginning = true;
  } else {
    fromBeginning = list.Empty();
  }
  AddToList(paths, true, [] {});
  if (app_.playState == PlayState::Stopped && !list.Empty()) PlayCurrentEntry(fromBeginning);
  view_.LayOut();
  view_.CommandStatesChanged();
}

template <typename AfterEach>
void PlayerController::AddToList(std::span<const std::filesystem::path> paths, bool onlyWhenGrown,
                                 AfterEach&& afterEach) {
  CPlayList& list = app_.playList;
  const std::int32_t volume = app_.settings.volumeValue;
  try {
    for (const std::filesystem::path& path : paths) {
      const FileType type = TypeProbe(path).Detect();
      if (IsSong(type)) {
        if (!list.Append({.path = path, .volume = volume})) throw CErrMessage(errc::kListFull);
      } else if (type == FileType::List) {
        const int countBefore = list.Count();
        LoadListFile(list, path, ListLoadMode::Append, volume);
        if (countBefore > 0 && (!onlyWhenGrown || list.Count() > countBefore)) list.SetModified(true);
      }
      afterEach();
    }
  } catch (const CErrMessage& error) {
    ShowError(error.Message());
  } catch (const std::bad_alloc&) {
    ShowError(AppErrorText(errc::kOutOfMemory));
  } catch (...) {
    ShowError(UndefinedErrorText());
  }
}

bool PlayerController::PrepareToClose() {
  if (app_.playList.Modified() && !ReleaseModifiedList()) return false;
  // The window is closing already: no second request to close it.
  StopIfLoaded(false);
  return true;
}

bool PlayerController::ReleaseModifiedList() {
  if (!app_.playList.Modified()) return true;
  switch (prompt_.Ask(std::string(CatalogueText(kMsgListModifiedSave)))) {
    case UserPrompt::Answer::Yes:
      // A list the user wanted kept is not dropped unless it was written.
      return SaveListAs();
    case UserPrompt::Answer::No:
      return true;
    case UserPrompt::Answer::Cancel:
      break;
  }
  return false;
}

bool PlayerController::ClearListForNewList() {
  if (!app_.playList.Empty()) {
    if (!ReleaseModifiedList()) return false;
    app_.playList.Clear();
  }
  view_.CommandStatesChanged();
  return true;
}

void PlayerController::ListEditorAccepted(bool newList) {
  CPlayList& list = app_.playList;
  app_.closeAfterPlay = false;
  if (!list.Empty() && (newList || list.Modified())) list.ResetOrder(Order());
  view_.LayOut();
  view_.CommandStatesChanged();
}

void PlayerController::OpenListCommand() {
  CPlayList& list = app_.playList;
  if (!ReleaseModifiedList()) return;
  const std::optional<std::filesystem::path> path = prompt_.ChooseListFileToOpen(RememberedFolder(kListFileFolderKey));
  if (!path) return;
  app_.closeAfterPlay = false;
  if (!RememberFolder(kListFileFolderKey, path->parent_path())) return;
  try {
    LoadListFile(list, *path, ListLoadMode::Replace, app_.settings.volumeValue);
  } catch (const CErrMessage& error) {
    ShowError(error.Message());
  }
  if (!list.Empty()) list.ResetOrder(Order());
  view_.LayOut();
}

void PlayerController::SaveListCommand() {
  if (app_.playList.FileName().empty()) {
    SaveListAs();
    return;
  }
  try {
    SaveListFile(app_.playList);
  } catch (const CErrMessage& error) {
    ShowError(error.Message());
  }
}

bool PlayerController::SaveListAs() {
  CPlayList& list = app_.playList;
  const std::filesystem::path proposed = list.FileName().empty() ? std::filesystem::path(kNewListFileName)
                                                                 : list.FileName().filename();
  const std::optional<std::filesystem::path> path = prompt_.ChooseListFileToSave(RememberedFolder(kListFileFolderKey), proposed);
  if (!path || !RememberFolder(kListFileFolderKey, path->parent_path())) return false;
  try {
    SaveListFile(list, *path);
  } catch (const CErrMessage& error) {
    ShowError(error.Message());
    return false;
  }
  view_.CommandStatesChanged();
  return true;
}

bool PlayerController::RememberFolder(std::string_view key, const std::filesystem::path& folder) {
  if (StoreRememberedFolder(key, folder)) return true;
  ShowError(AppErrorText(errc::kIniSaveFailed));
  return false;
}

}  // namespace velvasto
