#include "core/save_file.h"

namespace tarnwick {

std::string FormatSaveFile(const ProgramRows& rows) {
    std::string out = kSaveFileVersion;
    out += "\r\n";
    for (int i = 0; i < rows.Count(); ++i) {
        out += rows.Checked(i) ? '1' : '0';
        // The classes as the file names them, whatever the cells show.
        const RowPriorities priorities = rows.Priorities(i);
        for (const std::string& field :
             {rows.Text(i, kNameColumn), priorities.specifiedText, priorities.activeText, rows.Text(i, kDescriptionColumn)}) {
            out += ',';
            out += field;
        }
        out += "\r\n";
    }
    return out;
}

std::string_view LineText(std::string_view line) { return line.substr(0, line.find('\0')); }

bool HasVersionHeader(std::string_view text) {
    return LineText(text.substr(0, text.find('\n'))).find("Version:") != std::string_view::npos;
}

int RecordsIn(const std::string& text) {
    int lines = 0;
    ForEachLine(text, [&lines](std::string_view) {
        ++lines;
        return true;
    });
    return HasVersionHeader(text) ? lines - 1 : lines;
}

void ConvertOldSaveFile(FileSystem& files, const std::string& savePath, const std::string& tempPath) {
    std::optional<std::string> old = files.Read(savePath);
    if (!old) return;
    if (HasVersionHeader(*old)) return;

    std::string converted = kSaveFileVersion;
    converted += "\r\n";
    auto convert = [&converted](std::string_view line) {
        auto fields = SplitFields<3>(LineText(line));
        converted += fields[0] + ',' + fields[1] + ',' + fields[2] + ",指定なし," + fields[3] + "\r\n";
        return true;
    };
    if (old->empty()) {
        convert({});  // an empty file reads as one empty line
    } else {
        ForEachLine(*old, convert);
    }
    if (!files.WriteToDisk(tempPath, converted)) {
        files.Remove(tempPath);
        return;
    }
    files.Replace(tempPath, savePath);
}

}  // namespace tarnwick
