// The registrations' further settings while the program runs, kept by the program's
// key, and their companion file beside the save file: read with every load of the
// save file and written with every save of it, under the same rules (written beside,
// then put in place; another program's change asked about with the save file's).
#pragma once

#include <map>
#include <string>

#include "core/files.h"
#include "core/program_rows.h"
#include "core/program_settings.h"

namespace tarnwick {

class ProgramSettingsStore {
public:
    // The settings of a program by its key; nothing when none is set.
    const ProgramSettings* Find(const std::string& key) const;
    void Set(const std::string& key, const ProgramSettings& settings);
    void Erase(const std::string& key) { m_byKey.erase(key); }

    // Reads the companion file of the save file for the rows that were just loaded;
    // a line for a program that no row shows is left out. Returns the lines skipped as
    // damaged.
    int Load(FileSystem& files, const std::string& savePath, const ProgramRows& rows);
    // Writes the settings of the rows' programs. With none set and no file there,
    // nothing is written: a user of the class alone gets no new file.
    bool Save(FileSystem& files, const std::string& savePath, const ProgramRows& rows);
    // Where the session's end puts its copy beside the save file's copy.
    bool WriteCopy(FileSystem& files, const std::string& savePathOfCopy, const ProgramRows& rows) const;
    // Whether another program has changed the companion file since this run read or wrote it.
    bool ChangedSince(FileSystem& files, const std::string& savePath) const {
        return m_version.ChangedSince(files, CompanionPath(savePath));
    }
    // Whether a save would write other bytes than the last load or save left.
    bool Unsaved(const ProgramRows& rows) const { return Bytes(rows) != m_savedBytes; }

private:
    std::string Bytes(const ProgramRows& rows) const;

    std::map<std::string, ProgramSettings> m_byKey;
    KnownVersion m_version;
    std::string m_savedBytes = FormatCompanionFile({});
};

}  // namespace tarnwick
