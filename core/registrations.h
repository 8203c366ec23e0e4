// The registered programs as the monitor window keeps them: the rows that the user
// sees and the index that the watch cycle reads, changed only together by the
// window's commands, and written to and read from the save file.
#pragma once

#include <string>

#include "core/settings.h"
#include "core/files.h"
#include "core/message_box.h"
#include "core/priority.h"
#include "core/program_entry.h"
#include "core/program_rows.h"
#include "core/program_table.h"

namespace tarnwick {

class Registrations {
public:
    Registrations(ProgramRows& rows, AppSettings& settings, MessageBoxes& boxes, FileSystem& files);

    // The window's reaction to a change of a row: keeps column 0, the index's watch
    // flag and (with auto-save) the save file in step with the check box.
    void SetWatched(int row);

    void AddProgram(ProgramEntryDialog& dialog);
    // Adds a registration that the entry dialog accepted; false for a duplicate.
    bool Add(const ProgramEntryForm& form);
    void EditSelected(ProgramEntryDialog& dialog);
    void DeleteSelected();
    // One of the list's pop-up menu commands (ids 32775 to 32790).
    void ApplyQuickCommand(unsigned commandId);

    // The first row whose name gives the key, or the row count.
    int RowOf(const std::string& key) const;

    // Writes the save file; a failure is reported in a box and returns false. A save
    // file that another program changed since it was read or written here is asked
    // about first: overwritten (Yes), read instead (No, which counts as saved), or
    // left alone (Cancel, which counts as a failure).
    bool SaveTable();
    void LoadTable();

    // Whether a save would write other bytes than the last save wrote or the last
    // load showed: a change of any kind, the order of the rows included.
    bool Unsaved() const;
    // Whether the program may end now. Ending writes nothing by itself, but unsaved
    // changes are asked about once, with auto-save off or when the last automatic
    // save failed (a full disk): Yes saves (and a failed save keeps the program
    // running), No discards them, Cancel keeps running.
    bool ConfirmEnd();
    // Windows is ending the session: unsaved changes are written without a word,
    // since any box would hold up the logoff; so a save file changed by another
    // program is overwritten then, as the last word of this user's session.
    void SaveForSessionEnd();

    ProgramTable& Programs() { return m_programs; }
    ProgramRows& Rows() { return m_rows; }
    bool Loading() const { return m_loading != 0; }

private:
    bool AutoSave() const { return m_settings.m_autoSaveMode != 0; }
    void SetWatchText(int row, const char* text, int watched);
    void AddRecord(int row, std::string_view line);
    // The row's two priorities and the cells that show them.
    void ShowPriorities(int row, const RowPriorities& priorities);
    bool WriteSaveFile(const std::string& bytes);

    ProgramRows& m_rows;
    AppSettings& m_settings;
    MessageBoxes& m_boxes;
    FileSystem& m_files;
    ProgramTable m_programs;
    int m_loading = 0;
    std::string m_savedBytes;
    bool m_saveFailed = false;  // the last save wrote nothing: a failure, or cancelled
    KnownVersion m_saveVersion;
    std::string m_loadLine;
};

}  // namespace tarnwick
