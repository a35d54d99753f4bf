#include "app/association/file_association.h"

#include <map>
#include <system_error>

#include "app/association/child_process.h"
#include "app/association/desktop_files.h"
#include "app/association/key_file_line.h"
#include "app/association/mime_apps_list.h"
#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/paths.h"
#include "core/xdg_folders.h"

namespace velvasto {
namespace {

namespace fs = std::filesystem;

const fs::path kDesktopFile{std::string(kDesktopFileName)};

// The first line of a tool's answer without its line end and blanks.
std::string FirstLine(std::string_view output) { return std::string(Trimmed(output.substr(0, output.find('\n')))); }

bool WriteFile(const fs::path& path, std::string_view contents) {
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  return !ec && ReplaceFileAtomically(path, contents);
}

}  // namespace

AssociationPlaces AssociationPlaces::ForThisUser() {
  return {UserConfigFolder(), UserDataFolder(), ExecutablePath()};
}

CFileAssociation::CFileAssociation(AssociationPlaces places, ErrorReporter& reporter)
    : places_(std::move(places)),
      reporter_(reporter),
      previous_(places_.configFolder / "velvasto" / "previous-defaults.list") {}

bool CFileAssociation::Run(const std::string& program, const std::vector<std::string>& arguments,
                           std::string* output) {
  ProgramOutcome outcome = RunProgram(program, arguments,
                                      {"XDG_CONFIG_HOME=" + places_.configFolder.string(),
                                       "XDG_DATA_HOME=" + places_.dataFolder.string()});
  if (output != nullptr) *output = std::move(outcome.output);
  return outcome.Succeeded();
}

std::optional<std::string> CFileAssociation::DefaultApplication(std::string_view mimeType) {
  std::string output;
  if (!Run("xdg-mime", {"query", "default", std::string(mimeType)}, &output)) return std::nullopt;
  return FirstLine(output);
}

bool CFileAssociation::IsAssociated(std::string_view mimeType, bool savePrevious) {
  const auto current = DefaultApplication(mimeType);
  if (!current) {
    if (savePrevious) throw CErrMessage(errc::kAssocSavePreviousFailed);
    return false;
  }
  // The desktop falls back on any program that declares the type when no default is set; only
  // a default the user's own list gives the program is an association.
  if (*current == kDesktopFileName) {
    return DefaultApplicationIn(places_.configFolder / "mimeapps.list", mimeType) == kDesktopFileName;
  }
  // An answer that is no desktop file name is not kept: it could not be given back anyway.
  if (savePrevious && IsDesktopFileName(*current) && !previous_.Save(mimeType, *current)) {
    throw CErrMessage(errc::kAssocSavePreviousFailed);
  }
  return false;
}

void CFileAssociation::Associate(std::string_view mimeType) {
  if (!Run("xdg-mime", {"default", std::string(kDesktopFileName), std::string(mimeType)})) {
    throw CErrMessage(errc::kAssocSetFailed);
  }
}

void CFileAssociation::Restore(std::string_view mimeType) {
  const auto saved = previous_.Find(mimeType);
  if (!saved) {
    if (!RemoveDefaultApplication(places_.configFolder / "mimeapps.list", mimeType, kDesktopFileName)) {
      reporter_.ShowError(CErrMessage(errc::kAssocKeyDeleteFailed).Message());
      throw CErrMessage(errc::kAssocRestoreFailed);
    }
    return;
  }
  if (!Run("xdg-mime", {"default", *saved, std::string(mimeType)})) throw CErrMessage(errc::kAssocRestoreFailed);
  if (!previous_.Forget(mimeType)) {
    reporter_.ShowError(CErrMessage(errc::kAssocKeyDeleteFailed).Message());
    throw CErrMessage(errc::kAssocRestoreFailed);
  }
}

std::vector<fs::path> CFileAssociation::UserFiles() const {
  const fs::path id{std::string(kDesktopId)};
  return {places_.dataFolder / "applications" / kDesktopFile,
          places_.dataFolder / "mime" / "packages" / fs::path(id).concat(".xml"),
          places_.dataFolder / "icons" / "hicolor" / "scalable" / "apps" / fs::path(id).concat(".svg")};
}

void CFileAssociation::RegisterClass() {
  const auto entry = DesktopEntryRunning(places_.executable);
  const std::vector<fs::path> files = UserFiles();
  if (!entry || !WriteFile(files[0], *entry) || !WriteFile(files[1], MimePackage()) ||
      !WriteFile(files[2], ScalableIcon()) || !RefreshDatabases()) {
    throw CErrMessage(errc::kAssocActionKeyFailed);
  }
}

// Only the folders that exist have databases to refresh (the tools fail on a missing one): a
// user who never had the program's files in them has nothing to refresh.
bool CFileAssociation::RefreshDatabases() {
  const fs::path applications = places_.dataFolder / "applications";
  const fs::path mime = places_.dataFolder / "mime";
  std::error_code ec;
  const bool desktop =
      !fs::is_directory(applications, ec) || Run("update-desktop-database", {"--quiet", applications.string()});
  const bool types = !fs::is_directory(mime / "packages", ec) || Run("update-mime-database", {mime.string()});
  return desktop && types;
}

ExtensionTicks CFileAssociation::CurrentTicks() {
  std::map<std::string_view, bool> associated;
  for (const std::string_view type : AssociatedTypes()) associated[type] = IsAssociated(type, false);
  ExtensionTicks ticks{};
  for (std::size_t i = 0; i < kAssociatedExtensions.size(); ++i) ticks[i] = associated[kAssociatedExtensions[i].mimeType];
  return ticks;
}

void CFileAssociation::Apply(const ExtensionTicks& ticked) {
  // The desktop takes a default only from an entry it knows, so the entry comes first.
  RegisterClass();
  for (const std::string_view type : AssociatedTypes()) {
    bool wanted = false;
    for (std::size_t i = 0; i < kAssociatedExtensions.size(); ++i) {
      wanted = wanted || (ticked[i] && kAssociatedExtensions[i].mimeType == type);
    }
    if (wanted) {
      IsAssociated(type, true);
      Associate(type);
    } else if (IsAssociated(type, false)) {
      Restore(type);
    }
  }
}

void CFileAssociation::RemoveAll() {
  for (const std::string_view type : AssociatedTypes()) {
    if (IsAssociated(type, false)) Restore(type);
  }
  for (const fs::path& file : UserFiles()) {
    std::error_code ec;
    fs::remove(file, ec);
    if (ec) throw CErrMessage(errc::kAssocKeyDeleteFailed);
  }
  if (!RefreshDatabases()) throw CErrMessage(errc::kAssocActionKeyFailed);
}

int RemoveAssociationsOnUninstall(const AssociationPlaces& places, ErrorReporter& reporter) {
  try {
    CFileAssociation(places, reporter).RemoveAll();
    return 0;
  } catch (const CErrMessage& error) {
    reporter.ShowError(error.Message());
    return 1;
  }
}

}  // namespace velvasto
