#include "core/registrations.h"

#include "core/mbcs.h"
#include "core/numbers.h"
#include "core/save_file.h"
#include "core/texts.h"

namespace tarnwick {

namespace {
// The session-end copies that a start looks for, and that a session's end may add.
constexpr int kSessionEndCopies = 20;

RowPriorities PrioritiesOf(const ProgramEntryForm& form) {
    return {form.m_priority, form.m_activePriority, PriorityFileName(form.m_priority),
            PriorityFileName(form.m_activePriority)};
}
}  // namespace

// At first there are no rows: what a save of none writes.
Registrations::Registrations(ProgramRows& rows, AppSettings& settings, MessageBoxes& boxes, FileSystem& files)
    : m_rows(rows),
      m_settings(settings),
      m_boxes(boxes),
      m_files(files),
      m_savedBytes(kSaveFileVersion + std::string("\r\n")) {}

void Registrations::SetWatched(int row) {
    if (row < 0 || row >= m_rows.Count()) return;
    const RowsInUse inUse(*this);
    // The cell follows the check box; only a box that has really changed acts.
    const bool checked = m_rows.Checked(row);
    const char* text = TextOf(checked ? Text::Watched : Text::Unwatched);
    if (m_rows.Text(row, kWatchColumn) != text) SetWatchText(row, text, checked ? 1 : 0);
}

// Text and index before the save: a failed save shows a box, and a tick run inside it
// must find the program in its new state, or it would take it off watch a second time.
// The entry may not exist yet while a row is being added or loaded; that operation sets
// the entry itself afterwards.
void Registrations::SetWatchText(int row, const char* text, int watched) {
    m_rows.SetText(row, kWatchColumn, text);
    if (ProgramState* state = m_programs.Find(MakeKey(m_rows.Text(row, kNameColumn)))) {
        state->watched = watched;
        state->retriesLeft = -1;
    }
    if (AutoSave()) SaveTable();
}

void Registrations::AddProgram(ProgramEntryDialog& dialog) {
    ProgramEntryForm form;
    form.m_isRegistered = [this](const std::string& name) { return m_programs.Find(MakeKey(name)) != nullptr; };
    if (dialog.Run(form)) Add(form);
}

bool Registrations::Add(const ProgramEntryForm& form) {
    const int row = m_rows.Count();
    const std::string key = MakeKey(form.m_name);
    if (m_programs.Find(key)) {
        m_boxes.Show(TextWith(Text::AlreadyRegistered, {form.m_name}), TextOf(Text::AlreadyRegisteredCaption),
                     kMbOk | kMbIconInformation);
        return false;
    }
    m_rows.Insert(row, TextOf(Text::Unwatched));
    m_rows.SetText(row, kNameColumn, form.m_name);
    m_rows.SetText(row, kDescriptionColumn, form.m_description);
    ShowPriorities(row, PrioritiesOf(form));
    SetMore(key, form.m_more);  // before the check box, whose change may save
    const bool watched = m_settings.m_addWatchMode != 0;
    m_rows.SetChecked(row, watched);
    ProgramState& state = *m_programs.Insert(key, ProgramState{}).first;
    state = {static_cast<std::int32_t>(form.m_priority), static_cast<std::int32_t>(form.m_activePriority),
             watched ? 1 : 0, 0, -1};
    if (row == 0) m_rows.SelectAndFocus(0);
    // A ticked box has saved already; an unwatched registration is a change all the same.
    if (!watched && AutoSave()) SaveTable();
    return true;
}

void Registrations::EditSelected(ProgramEntryDialog& dialog) {
    const RowsInUse inUse(*this);
    if (m_rows.Count() > 0) {
        const int row = m_rows.Selected();
        if (row < 0) return;
        ProgramEntryForm form;
        form.m_nameLocked = 1;
        form.m_name = m_rows.Text(row, kNameColumn);
        form.m_description = m_rows.Text(row, kDescriptionColumn);
        const RowPriorities priorities = m_rows.Priorities(row);
        form.m_priority = priorities.specified;
        form.m_activePriority = priorities.active;
        const std::string key = MakeKey(form.m_name);
        if (const ProgramSettings* more = m_more.Find(key)) form.m_more = *more;
        if (dialog.Run(form)) {
            SetMore(key, form.m_more);
            m_rows.SetText(row, kDescriptionColumn, form.m_description);
            ShowPriorities(row, PrioritiesOf(form));
            ProgramState& state = m_programs.FindOrAdd(MakeKey(m_rows.Text(row, kNameColumn)));
            state.watched = m_rows.Checked(row) ? 1 : 0;
            state.specifiedClass = static_cast<std::int32_t>(form.m_priority);
            state.activeClass = static_cast<std::int32_t>(form.m_activePriority);
        }
    }
    if (AutoSave()) SaveTable();
}

void Registrations::DeleteSelected() {
    const RowsInUse inUse(*this);
    const int count = m_rows.Count();
    if (count > 0) {
        const int row = m_rows.Selected();
        if (row < 0) return;
        // Anything but a clear Yes (a box that failed to show, too) keeps the row.
        if (m_boxes.Show(TextWith(Text::ConfirmDelete, {m_rows.Text(row, kNameColumn)}), TextOf(Text::ConfirmDeleteCaption),
                         kMbYesNo | kMbIconQuestion | kMbDefButton2) != kIdYes) {
            return;
        }
        const std::string key = MakeKey(m_rows.Text(row, kNameColumn));
        m_programs.Erase(key);
        m_rows.Delete(row);
        if (RowOf(key) == m_rows.Count()) m_more.Erase(key);  // no other row of the name
        if (count == row + 1) {
            if (row > 0) m_rows.SelectAndFocus(row - 1);
        } else {
            m_rows.SelectAndFocus(row);
        }
    }
    if (AutoSave()) SaveTable();
}

void Registrations::EditSelectedSettings(ProgramSettingsDialog& dialog) {
    const RowsInUse inUse(*this);
    const int row = m_rows.Count() > 0 ? m_rows.Selected() : -1;
    if (row < 0) return;
    const std::string key = MakeKey(m_rows.Text(row, kNameColumn));
    const ProgramSettings* kept = m_more.Find(key);
    ProgramSettings settings = kept ? *kept : ProgramSettings{};
    if (!dialog.Run(settings)) return;
    SetMore(key, settings);
    if (AutoSave()) SaveTable();
}

void Registrations::SetMore(const std::string& key, const ProgramSettings& settings) {
    m_more.Set(key, settings);
    for (int row = 0; row < m_rows.Count(); ++row) {
        if (MakeKey(m_rows.Text(row, kNameColumn)) == key) ShowMore(row);
    }
}

void Registrations::ShowMore(int row) {
    const ProgramSettings* more = m_more.Find(MakeKey(m_rows.Text(row, kNameColumn)));
    m_rows.SetText(row, kMoreColumn, more ? SettingsSummary(*more) : std::string());
}

void Registrations::ApplyQuickCommand(unsigned commandId) {
    const PriorityCommand* command = FindPriorityCommand(commandId);
    if (!command) return;
    const RowsInUse inUse(*this);
    if (m_rows.Count() == 0) return;
    const int row = m_rows.Selected();
    if (row < 0) return;
    // The question names the program: with no row to set, there is nothing to ask.
    if (command->asksFirst && !ConfirmHighPriority(m_boxes, m_rows.Text(row, kNameColumn), command->level)) return;
    const RowPriorities before = m_rows.Priorities(row);
    RowPriorities after = before;
    (command->active ? after.active : after.specified) = command->level;
    (command->active ? after.activeText : after.specifiedText) = PriorityFileName(command->level);
    m_rows.SetText(row, command->active ? kActiveColumn : kSpecifiedColumn, PriorityName(command->level));
    m_rows.SetPriorities(row, after);
    const std::string key = MakeKey(m_rows.Text(row, kNameColumn));
    ProgramState* state = m_programs.Find(key);
    if (!state) {
        // A row can outlive its entry (one of two rows of a name was deleted): the
        // new entry takes both classes from the row, never 0 for a class to set.
        state = &m_programs.FindOrAdd(key);
        state->specifiedClass = static_cast<std::int32_t>(before.specified);
        state->activeClass = static_cast<std::int32_t>(before.active);
    }
    state->watched = m_rows.Checked(row) ? 1 : 0;
    (command->active ? state->activeClass : state->specifiedClass) = static_cast<std::int32_t>(command->level);
    if (AutoSave()) SaveTable();
}

int Registrations::RowOf(const std::string& key) const {
    const int count = m_rows.Count();
    for (int i = 0; i < count; ++i) {
        if (MakeKey(m_rows.Text(i, kNameColumn)) == key) return i;
    }
    return count;
}

bool Registrations::SaveTable() {
    // A load that waits replaces the list with the file: nothing to write meanwhile.
    if (m_loading || m_loadWaiting) return true;
    const std::string path = m_settings.GetSaveFilePath();
    if (ChangedByAnother(path)) {
        const Text question = m_saveVersion.Seen(path) ? Text::SaveFileChanged : Text::SaveFileNotLoaded;
        switch (AskAboutChangedFile(m_boxes, question, Text::SaveFileChangedCaption, path)) {
            case kIdYes: break;
            case kIdNo: LoadOtherVersion(); return true;
            default: m_saveFailed = true; return false;  // Cancel, or a box that could not be shown
        }
    }
    m_saveFailed = !WriteSaveFile(FormatSaveFile(m_rows));
    if (!m_saveFailed) return true;
    m_boxes.Show(TextOf(Text::RegistrationsSaveFailed), TextOf(Text::SaveFailedCaption), kMbOk | kMbIconExclamation);
    return false;
}

void Registrations::LoadOtherVersion() {
    if (m_rowsInUse == 0) {
        LoadTable();
    } else {
        m_loadWaiting = true;
    }
}

Registrations::RowsInUse::~RowsInUse() {
    if (--m_owner.m_rowsInUse == 0 && m_owner.m_loadWaiting && m_owner.m_postLoad) m_owner.m_postLoad();
}

void Registrations::RunWaitingLoad() {
    // A nested message loop may deliver the message while the rows are in use again:
    // the load then waits for them once more.
    if (m_loadWaiting && m_rowsInUse == 0) LoadTable();
}

bool Registrations::WriteSaveFile(const std::string& bytes) {
    const std::string path = m_settings.GetSaveFilePath();
    // The save file first: a companion file put in place beside a save file that cannot
    // be (another program holds it) would give the registrations kept there new settings.
    if (!WriteReplacing(m_files, path, bytes)) return false;
    m_saveVersion.Remember(m_files, path, bytes);
    m_savedBytes = bytes;
    return m_more.Save(m_files, path, m_rows);
}

bool Registrations::Unsaved() const {
    if (FormatSaveFile(m_rows) != m_savedBytes || m_more.Unsaved(m_rows)) return true;
    // What was saved is no longer there when another program has changed or removed the
    // files since (or the options named another save file); an empty list loses nothing.
    if (m_rows.Count() == 0) return false;
    const std::string path = m_settings.GetSaveFilePath();
    return !m_files.Stamp(path) || ChangedByAnother(path);
}

bool Registrations::ConfirmUnsaved(Text question, Text caption) {
    if (!Unsaved()) return true;
    // Auto-save writes what it has not written yet (a new order, or over files that
    // another program changed since) without a question of its own.
    if (AutoSave() && !m_saveFailed) return SaveTable();
    switch (m_boxes.Show(TextOf(question), TextOf(caption), kMbYesNoCancel | kMbIconQuestion)) {
        case kIdYes: return SaveTable();
        case kIdNo: return true;
        default: return false;  // Cancel, or a box that could not be shown
    }
}

void Registrations::SaveForSessionEnd() {
    if (!Unsaved()) return;
    const std::string bytes = FormatSaveFile(m_rows);
    const std::string path = m_settings.GetSaveFilePath();
    // A save file that cannot be written now (another program holds it) gets the copy too.
    if (!ChangedByAnother(path) && WriteSaveFile(bytes)) {
        return;
    }
    for (int number = 1; number <= kSessionEndCopies; ++number) {
        const std::string copy = SessionEndCopyPath(path, number);
        if (!m_files.Exists(copy)) {
            m_more.WriteCopy(m_files, copy, m_rows);
            WriteReplacing(m_files, copy, bytes);
            return;
        }
    }
}

std::vector<std::string> Registrations::StartNotes(const std::string& timeStamp) {
    std::vector<std::string> notes;
    const std::string path = m_settings.GetSaveFilePath();
    if (!m_settings.m_autoLoadMode) {
        if (const int records = RecordsInSaveFile()) {
            notes.push_back(TextWith(Text::HistoryNotLoaded, {timeStamp, std::to_string(records)}));
        }
    }
    for (int number = 1; number <= kSessionEndCopies; ++number) {
        const std::string copy = SessionEndCopyPath(path, number);
        if (m_files.Exists(copy)) notes.push_back(TextWith(Text::HistorySessionEndCopy, {timeStamp, copy}));
    }
    return notes;
}

std::vector<std::string> Registrations::TakeLoadNotes(const std::string& timeStamp) {
    if (m_damagedLinesUntold == 0) return {};
    const std::string count = std::to_string(std::exchange(m_damagedLinesUntold, 0));
    return {TextWith(Text::HistoryCompanionDamaged, {timeStamp, CompanionPath(m_settings.GetSaveFilePath()), count})};
}

int Registrations::RecordsInSaveFile() {
    const std::optional<std::string> text = m_files.Read(m_settings.GetSaveFilePath());
    return text ? RecordsIn(*text) : 0;
}

std::string SessionEndCopyPath(const std::string& savePath, int number) {
    const std::string name = BaseName(savePath);
    const std::size_t dot = name.rfind('.');
    const std::size_t stem = savePath.size() - name.size() + (dot == std::string::npos ? name.size() : dot);
    std::string copy = savePath.substr(0, stem) + "-session-end";
    if (number > 1) {
        copy += '-';
        copy += std::to_string(number);
    }
    return copy + savePath.substr(stem);
}

void Registrations::LoadTable() {
    // Cleared on every way out, so that later saves are not skipped for good. The
    // rows then show what the file holds (nothing, when it cannot be read).
    struct LoadingFlag {
        Registrations& owner;
        explicit LoadingFlag(Registrations& r) : owner(r) { owner.m_loading = 1; }
        ~LoadingFlag() {
            owner.m_loading = 0;
            owner.m_damagedLinesUntold +=
                owner.m_more.Load(owner.m_files, owner.m_settings.GetSaveFilePath(), owner.m_rows);
            for (int row = 0; row < owner.m_rows.Count(); ++row) owner.ShowMore(row);
            owner.m_savedBytes = FormatSaveFile(owner.m_rows);
            owner.m_saveFailed = false;
        }
    } loading(*this);

    m_loadWaiting = false;  // done now, whoever asked
    const std::string savePath = m_settings.GetSaveFilePath();
    ConvertOldSaveFile(m_files, savePath, m_settings.GetTempFilePath());
    m_rows.DeleteAll();
    m_programs.Clear();
    std::optional<std::string> text = m_files.Read(savePath);
    m_saveVersion.Remember(m_files, savePath, text);
    if (!text) return;

    bool header = true;
    int row = 0;
    ForEachLine(*text, [&](std::string_view line) {
        if (header) {
            m_loadLine = std::string(LineText(line));
            header = false;
        } else {
            AddRecord(row++, line);
        }
        return true;
    });
    if (m_rows.Count() > 0) m_rows.SelectAndFocus(0);
}

void Registrations::AddRecord(int row, std::string_view line) {
    auto fields = SplitFields<4>(LineText(line));
    const std::string& name = fields[1];
    const std::string& description = fields[4];
    m_rows.Insert(row, TextOf(Text::Unwatched));
    // The name first: ticking the box runs the change reaction, which finds the
    // entry by the row's name (an empty one would be another record's).
    m_rows.SetText(row, kNameColumn, name);
    const bool watched = ParseLeadingInt(fields[0]) != 0;
    m_rows.SetChecked(row, watched);
    const PriorityLevel specified = PriorityFromFileName(fields[2]);
    const PriorityLevel active = PriorityFromFileName(fields[3]);
    m_rows.SetText(row, kDescriptionColumn, description);
    ShowPriorities(row, {specified, active, fields[2], fields[3]});
    // Of two records with one key both rows stay; the index keeps the later values.
    ProgramState& state = *m_programs.Insert(MakeKey(name), ProgramState{}).first;
    state = {static_cast<std::int32_t>(specified), static_cast<std::int32_t>(active), watched ? 1 : 0, 0, -1};
}

void Registrations::ShowPriorities(int row, const RowPriorities& priorities) {
    m_rows.SetText(row, kSpecifiedColumn, ShownPriority(priorities.specifiedText, priorities.specified));
    m_rows.SetText(row, kActiveColumn, ShownPriority(priorities.activeText, priorities.active));
    m_rows.SetPriorities(row, priorities);
}

}  // namespace tarnwick
