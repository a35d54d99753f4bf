#pragma once
// The open-file dialog of song files: the filters "演奏ﾌｧｲﾙ (…)", "標準MIDIﾌｧｲﾙ (…)" and the
// others, shown by their descriptions alone, matched without regard to case.

#include <QStringList>
#include <filesystem>
#include <vector>

class QWidget;

namespace velvasto::gui {

// The song filters in the order offered, for QFileDialog with its HideNameFilterDetails
// option: each the description to show, then the patterns that apply.
QStringList SongFileFilters();

// The multiple-choice open dialog starting in `folder`; the files chosen, in the dialog's
// order, none when cancelled.
std::vector<std::filesystem::path> ChooseSongFiles(QWidget* parent, const std::filesystem::path& folder);

}  // namespace velvasto::gui
