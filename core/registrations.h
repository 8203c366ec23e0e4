// The registered programs as the monitor window keeps them: the rows that the user
// sees and the index that the watch cycle reads, changed only together by the
// window's commands, and written to and read from the save file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "core/files.h"
#include "core/message_box.h"
#include "core/priority.h"
#include "core/program_entry.h"
#include "core/program_rows.h"
#include "core/program_settings_store.h"
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
    // The list menu's "More...": the selected registration's further settings alone.
    void EditSelectedSettings(ProgramSettingsDialog& dialog);
    // One of the list's pop-up menu commands (ids 32775 to 32790).
    void ApplyQuickCommand(unsigned commandId);

    // The first row whose name gives the key, or the row count.
    int RowOf(const std::string& key) const;

    // Writes the save file; a failure is reported in a box and returns false. A save
    // file that another program changed since it was read or written here, or one
    // that this run has never read or written, is asked about first: overwritten
    // (Yes), read instead (No, which counts as saved), or left alone (Cancel, which
    // counts as a failure). A file that is not there is written without a question.
    bool SaveTable();
    void LoadTable();

    // Whether the files no longer hold the list: a save would write other bytes than
    // the last save wrote or the last load showed (a change of any kind, the order of
    // the rows included), or rows are listed and another program has changed or removed
    // the files since (or the options named another save file).
    bool Unsaved() const;
    // Whether the program may end now. Unsaved changes are asked about once, with
    // auto-save off or when the last automatic save failed (a full disk): Yes saves
    // (and a failed save keeps the program running), No discards them, Cancel keeps
    // running. Otherwise auto-save writes them, asking only as any save asks.
    bool ConfirmEnd() { return ConfirmUnsaved(Text::ConfirmEnd, Text::ConfirmEndCaption); }
    // The same question before another save file replaces the registrations.
    bool ConfirmReload() { return ConfirmUnsaved(Text::ConfirmReload, Text::ConfirmReloadCaption); }
    // Windows is ending the session: unsaved changes are written without a word,
    // since any box would hold up the logoff. Where the save file holds what this run
    // has not seen (another program's registrations), or cannot be written (another
    // program holds it), the list goes beside it instead, into the first free
    // SessionEndCopyPath, and nothing is lost on either side.
    void SaveForSessionEnd();
    // What the history tells at start: the registrations that the save file holds
    // when auto-load is off, and each copy that an earlier session's end left.
    std::vector<std::string> StartNotes(const std::string& timeStamp);
    // What the loads since the last call have to tell the history: lines of the
    // companion file that could not be read. Told once, then forgotten.
    std::vector<std::string> TakeLoadNotes(const std::string& timeStamp);

    // While a watch tick, a row's change reaction or a command on the selected row
    // runs, the rows must stay as they are: the list control is inside its own
    // notification, and the others hold row numbers across a tick or a box. A load asked
    // for then (No to the changed-file question) waits, and is posted to the window
    // once the last of them has ended.
    class RowsInUse {
    public:
        explicit RowsInUse(Registrations& owner) : m_owner(owner) { ++m_owner.m_rowsInUse; }
        ~RowsInUse();
        RowsInUse(const RowsInUse&) = delete;
        RowsInUse& operator=(const RowsInUse&) = delete;

    private:
        Registrations& m_owner;
    };
    // How a waiting load reaches the window: a posted message, whose handler calls
    // RunWaitingLoad.
    void PostLoadsWith(std::function<void()> post) { m_postLoad = std::move(post); }
    void RunWaitingLoad();

    ProgramTable& Programs() { return m_programs; }
    ProgramSettingsStore& MoreSettings() { return m_more; }
    ProgramRows& Rows() { return m_rows; }
    bool Loading() const { return m_loading != 0; }

private:
    bool AutoSave() const { return m_settings.m_autoSaveMode != 0; }
    void SetWatchText(int row, const char* text, int watched);
    void AddRecord(int row, std::string_view line);
    // The row's two priorities and the cells that show them.
    void ShowPriorities(int row, const RowPriorities& priorities);
    // Keeps the program's further settings and shows them in its rows' last column.
    void SetMore(const std::string& key, const ProgramSettings& settings);
    // The row's last column, from the settings kept for its program.
    void ShowMore(int row);
    bool WriteSaveFile(const std::string& bytes);
    // Whether another program has changed the save file at `path` or its companion
    // file since this run last read or wrote them (or this run never read them).
    bool ChangedByAnother(const std::string& path) const {
        return m_saveVersion.ChangedSince(m_files, path) || m_more.ChangedSince(m_files, path);
    }
    bool ConfirmUnsaved(Text question, Text caption);
    // No to the changed-file question: the other version replaces the list, at once
    // or, while the rows are in use, once they are free.
    void LoadOtherVersion();
    // The registrations in the save file, which is not loaded; 0 without one.
    int RecordsInSaveFile();

    ProgramRows& m_rows;
    AppSettings& m_settings;
    MessageBoxes& m_boxes;
    FileSystem& m_files;
    ProgramTable m_programs;
    ProgramSettingsStore m_more;
    int m_damagedLinesUntold = 0;
    int m_loading = 0;
    std::string m_savedBytes;
    bool m_saveFailed = false;  // the last save wrote nothing: a failure, or cancelled
    KnownVersion m_saveVersion;
    std::string m_loadLine;
    int m_rowsInUse = 0;
    bool m_loadWaiting = false;
    std::function<void()> m_postLoad;
};

// Where the session's end leaves a list that it could not write over another
// program's save file: "Tarnwick.sav" gives "Tarnwick-session-end.sav", then
// "Tarnwick-session-end-2.sav" and on (`number` from 1).
std::string SessionEndCopyPath(const std::string& savePath, int number);

}  // namespace tarnwick
