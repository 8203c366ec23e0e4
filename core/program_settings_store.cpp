#include "core/program_settings_store.h"

#include <set>

#include "core/program_table.h"

namespace tarnwick {

const ProgramSettings* ProgramSettingsStore::Find(const std::string& key) const {
    const auto found = m_byKey.find(key);
    return found == m_byKey.end() ? nullptr : &found->second;
}

void ProgramSettingsStore::Set(const std::string& key, const ProgramSettings& settings) {
    if (settings.AnySet()) {
        m_byKey[key] = settings;
    } else {
        m_byKey.erase(key);
    }
}

int ProgramSettingsStore::Load(FileSystem& files, const std::string& savePath, const ProgramRows& rows) {
    const std::string path = CompanionPath(savePath);
    const std::optional<std::string> text = files.Read(path);
    m_version.Remember(files, path, text);
    CompanionContents contents = ParseCompanionFile(text);
    m_byKey.clear();
    for (int row = 0; row < rows.Count(); ++row) {
        const std::string key = MakeKey(rows.Text(row, kNameColumn));
        const auto found = contents.settings.find(key);
        if (found != contents.settings.end()) m_byKey[key] = found->second;
    }
    m_savedBytes = Bytes(rows);
    return contents.damagedLines;
}

bool ProgramSettingsStore::Save(FileSystem& files, const std::string& savePath, const ProgramRows& rows) {
    const std::string path = CompanionPath(savePath);
    const std::string bytes = Bytes(rows);
    if (bytes == FormatCompanionFile({}) && !files.Exists(path)) {
        m_savedBytes = bytes;
        return true;
    }
    if (!WriteReplacing(files, path, bytes)) return false;
    m_version.Remember(files, path, bytes);
    m_savedBytes = bytes;
    return true;
}

bool ProgramSettingsStore::WriteCopy(FileSystem& files, const std::string& savePathOfCopy,
                                     const ProgramRows& rows) const {
    const std::string bytes = Bytes(rows);
    return bytes == FormatCompanionFile({}) || WriteReplacing(files, CompanionPath(savePathOfCopy), bytes);
}

std::string ProgramSettingsStore::Bytes(const ProgramRows& rows) const {
    NamedSettings named;
    std::set<std::string> written;  // two rows of one name keep one line
    for (int row = 0; row < rows.Count(); ++row) {
        const std::string name = rows.Text(row, kNameColumn);
        const std::string key = MakeKey(name);
        const ProgramSettings* settings = Find(key);
        if (settings && written.insert(key).second) named.emplace_back(name, *settings);
    }
    return FormatCompanionFile(named);
}

}  // namespace tarnwick
