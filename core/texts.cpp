#include "core/texts.h"

#include <cstddef>

namespace tarnwick {

namespace {

struct TextRow {
    Text id;
    const char* text;
};
constexpr std::size_t kTextCount = static_cast<std::size_t>(Text::Count);

// Each table holds every identifier once, in the order of the enumeration: the
// build checks it, so that no text is missing in either language.
template <std::size_t N>
constexpr bool Complete(const TextRow (&table)[N]) {
    if (N != kTextCount) return false;
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(table[i].id) != i) return false;
    }
    return true;
}

constexpr TextRow kJapanese[] = {
    {Text::PriorityRealtime, "リアルタイム"},
    {Text::PriorityHigh, "高"},
    {Text::PriorityAboveNormal, "通常以上"},
    {Text::PriorityNormal, "通常"},
    {Text::PriorityBelowNormal, "通常以下"},
    {Text::PriorityLow, "低"},
    {Text::PriorityNone, "指定なし"},
    {Text::MainWindowTitle, "Tarnwick - モニタ＆設定"},
    {Text::Watched, "する"},
    {Text::Unwatched, "しない"},
    {Text::ColumnWatch, "監視"},
    {Text::ColumnProgram, "プログラム名"},
    {Text::ColumnDescription, "説明"},
    {Text::ColumnSpecified, "指定優先度"},
    {Text::ColumnActive, "ｱｸﾃｨﾌﾞ優先度"},
    {Text::ColumnRunCount, "実行回数"},
    {Text::ColumnCurrentPriority, "現在の優先度"},
    {Text::TabGeneral, "一般"},
    {Text::TabWatch, "監視"},
    {Text::TabFile, "ファイル"},
    {Text::SaveFileDialogTitle, "セーブファイル名の指定"},
    {Text::SaveFileFilter, "Data File(Tarnwick.sav)|Tarnwick.sav|All Files (*.*)|*.*||"},
    {Text::ProgramDialogTitle, "実行プログラム名の指定"},
    {Text::ProgramFilter, "Execute File(*.exe)|*.exe|All Files (*.*)|*.*||"},
    {Text::AppName, "Tarnwick"},
    {Text::DebugPrivilegeRefused,
     "すべてのアプリケーションの優先度を変更するための特権（デバッグ特権）を取得できませんでした。\n"
     "この特権は、管理者として実行した場合にだけ取得できます。\n"
     "それまでは、管理者の権限で動いているプログラムの優先度は変更できません。"},
    {Text::StartedFromTemporaryFolder,
     "Tarnwick は一時フォルダから起動されています（圧縮ファイルの中から直接起動した場合など）。\n"
     "一時フォルダは後で消されるため、ショートカットは作成しません。\n"
     "オプションと登録内容は次のフォルダに保存されます。\n%1"
     "\n\n圧縮ファイルを任意のフォルダに展開してから、展開した Tarnwick.exe を起動してください。"},
    {Text::SaveFileChanged,
     "セーブファイル(%1)は、Tarnwick が読み書きした後に他のプログラムによって変更されています。\n"
     "上書きしますか？\n（[いいえ]を選択すると変更されたファイルを読み込みます。）"},
    {Text::SaveFileChangedCaption, "セーブファイルの変更の確認"},
    {Text::SaveFileNotLoaded,
     "セーブファイル(%1)には、Tarnwick が読み込んでいない登録内容があります。\n"
     "上書きしますか？\n（[いいえ]を選択するとこのファイルを読み込みます。）"},
    {Text::SettingsFileChanged,
     "オプションファイル(%1)は、Tarnwick が読み書きした後に他のプログラムによって変更されています。\n"
     "上書きしますか？\n（[いいえ]を選択すると変更されたファイルを読み込みます。）"},
    {Text::SettingsFileChangedCaption, "オプションファイルの変更の確認"},
    {Text::SaveFileSwitched,
     "セーブファイル名が切り替えられました。\n現在の表示内容をクリアして指定されたセーブファイルを読み直しますか？\n"
     "（[いいえ]を選択すると現在の内容が引き継がれます。）"},
    {Text::SaveFileSwitchedCaption, "セーブファイルの扱いの確認"},
    {Text::AutoLoadForStartup,
     "ログオン時に起動した Tarnwick が登録したプログラムを監視するには、オートロードが必要です。\n"
     "オートロードもオンにしますか？"},
    {Text::AutoLoadForStartupCaption, "オートロードの確認"},
    {Text::SettingsSaveFailed,
     "オプションファイル(%1)のセーブに失敗しました。\nオプションは、実行プログラムの作業ディレクトリに書き込まれます。\n"
     "作業ディレクトリにファイルが書き込み可能であることを確認してください。"},
    {Text::SaveFailedCaption, "セーブの失敗"},
    {Text::PathNotShiftJis,
     "選択されたファイルのパスには、このプログラムで扱えない文字が含まれています。\n"
     "日本語（シフトJIS）で表せる名前のフォルダとファイルを指定してください。"},
    {Text::PathNotShiftJisCaption, "セーブファイル名の指定"},
    {Text::ConfirmHighPriority,
     "この設定は、他のアプリケーションの実行速度を著しく\n低下させる可能性があるため、おすすめできません。\n"
     "本当に設定してもよろしいですか？"},
    {Text::ConfirmHighPriorityCaption, "優先度の確認"},
    {Text::ProgramNameMissing, "プログラム名を入力してください。"},
    {Text::ProgramNameComma,
     "プログラム名に半角カンマ「,」は使えません。\nセーブファイルに保存できないため、カンマを含まない名前にしてください。"},
    {Text::ProgramNameWithoutExtension,
     "%1 のことですか？\nプログラム名は拡張子まで含めたファイル名で照合されます。\n"
     "（［いいえ］を選ぶと、入力した名前のまま登録します。）"},
    {Text::ProgramNameCaption, "プログラム名の警告"},
    {Text::AlreadyRegistered, "既に同じプログラムが登録されています。"},
    {Text::AlreadyRegisteredCaption, "追加の警告"},
    {Text::ConfirmDelete, "本当に削除してよろしいですね。"},
    {Text::ConfirmDeleteCaption, "削除の確認"},
    {Text::RegistrationsSaveFailed,
     "データのセーブに失敗しました。オプションのファイルで指定されているパス名を確認してください。"},
    {Text::ConfirmEnd,
     "登録内容の変更がセーブされていません。\n終了する前にセーブしますか？\n"
     "（[いいえ]を選択すると変更内容は破棄されます。）"},
    {Text::ConfirmEndCaption, "終了の確認"},
    {Text::ConfirmReload,
     "登録内容の変更がセーブされていません。\n別のセーブファイルを読み込む前にセーブしますか？\n"
     "（[いいえ]を選択すると変更内容は破棄されます。）"},
    {Text::ConfirmReloadCaption, "セーブファイルの切り替えの確認"},
    {Text::ShortcutFailed, "ショートカット作成失敗"},
    {Text::InitErrorCaption, "初期化エラー"},
    {Text::VersionUnknown, "バージョン情報の取得に失敗しました。"},
    {Text::InitFailed, "初期化処理でエラーが発生しました。"},
    {Text::AlreadyRunningElevated, "Tarnwick は既に管理者として実行されています。"},
    {Text::HistoryChanged, "%1 %3 → %4 %2"},
    {Text::HistoryNotGranted, "%1 %2 に%3は許可されず、%4になりました。"},
    {Text::HistoryHigherRights, "%1 %2 は Tarnwick より高い権限で実行されているため、優先度を変更できません。"},
    {Text::HistoryEfficiencyMode, "%1 %2 は効率モードで実行されているため、優先度を変更しません。"},
    {Text::HistoryRefusedRetrying, "%1 %2 にアクセス拒否されました。リトライします。"},
    {Text::HistoryRefusedUnwatched, "%1 %2 にアクセス拒否されたため監視をはずしました。"},
    {Text::HistoryNotLoaded,
     "%1 セーブファイルの %2 件の登録は読み込まれていません。[ロード]を押すか、オプションの"
     "「オートロードします。」をオンにすると読み込まれます。"},
    {Text::HistorySessionEndCopy,
     "%1 Windows の終了時にセーブファイルが他のプログラムによって変更されていたため、"
     "セーブされていない登録内容は %2 に保存されています。"},
    {Text::ProcessorsInvalid, "CPU は、0-3,8 のように 0 から 63 までの番号と範囲をカンマで区切って入力してください。"},
    {Text::ProcessorsNotHere, "CPU %1 のどれも、このコンピューター（%2）にはありません。"},
    {Text::MoreSettingsCaption, "詳細設定"},
    {Text::NotSet, "指定しない"},
    {Text::EfficiencyLeftToWindows, "Windows に任せる"},
    {Text::EfficiencyAlwaysOff, "常にオフ"},
    {Text::EfficiencyAlwaysOn, "常にオン"},
    {Text::ThisComputersProcessors, "このコンピューター: %1"},
    {Text::ColumnMore, "詳細"},
    {Text::HistoryCompanionDamaged, "%1 詳細設定ファイル %2 の %3 行は読み取れないため、無視しました。"},
    {Text::HistorySettingsApplied, "%1 %3 %2"},
    {Text::HistorySettingMissing, "%1 %2 の %3 は、この Windows では設定できないため、以後は試みません。"},
    {Text::HistorySettingRefused, "%1 %2 の %3 は拒否されました。"},
    {Text::HistoryNoProcessorsHere, "%1 %2 の CPU %3 は、このコンピューターにはありません。"},
    {Text::SettingIo, "I/O %1"},
    {Text::SettingMemory, "メモリ %1"},
    {Text::SettingProcessors, "CPU %1"},
    {Text::EfficiencyOff, "効率オフ"},
    {Text::EfficiencyOn, "効率オン"},
    {Text::IoVeryLow, "最低"},
    {Text::IoLow, "低"},
    {Text::IoNormal, "通常"},
    {Text::MemoryVeryLow, "最低"},
    {Text::MemoryLow, "低"},
    {Text::MemoryMedium, "中"},
    {Text::MemoryBelowNormal, "通常以下"},
    {Text::MemoryNormal, "通常"},
};
static_assert(Complete(kJapanese), "the Japanese table lacks a text or has one out of order");

// Natural Windows English: the classes as Task Manager names them, short captions.
constexpr TextRow kEnglish[] = {
    {Text::PriorityRealtime, "Realtime"},
    {Text::PriorityHigh, "High"},
    {Text::PriorityAboveNormal, "Above normal"},
    {Text::PriorityNormal, "Normal"},
    {Text::PriorityBelowNormal, "Below normal"},
    {Text::PriorityLow, "Low"},
    {Text::PriorityNone, "(none)"},
    {Text::MainWindowTitle, "Tarnwick - Monitor and Settings"},
    {Text::Watched, "Yes"},
    {Text::Unwatched, "No"},
    {Text::ColumnWatch, "Watch"},
    {Text::ColumnProgram, "Program"},
    {Text::ColumnDescription, "Description"},
    {Text::ColumnSpecified, "Priority"},
    {Text::ColumnActive, "Active priority"},
    {Text::ColumnRunCount, "Changes"},
    {Text::ColumnCurrentPriority, "Current priority"},
    {Text::TabGeneral, "General"},
    {Text::TabWatch, "Watch"},
    {Text::TabFile, "File"},
    {Text::SaveFileDialogTitle, "Choose Save File"},
    {Text::SaveFileFilter, "Save File (Tarnwick.sav)|Tarnwick.sav|All Files (*.*)|*.*||"},
    {Text::ProgramDialogTitle, "Choose Program"},
    {Text::ProgramFilter, "Programs (*.exe)|*.exe|All Files (*.*)|*.*||"},
    {Text::AppName, "Tarnwick"},
    {Text::DebugPrivilegeRefused,
     "Tarnwick could not obtain the privilege to change the priority of all applications (the debug privilege).\n"
     "Only a program run as administrator can obtain it.\n"
     "Until then, the priority of programs that run with administrator rights cannot be changed."},
    {Text::StartedFromTemporaryFolder,
     "Tarnwick has been started from a temporary folder (for example, directly from inside a compressed file).\n"
     "The temporary folder will be deleted later, so no shortcuts are created.\n"
     "The options and registrations are saved in this folder:\n%1"
     "\n\nExtract the compressed file to a folder of your choice, then start the extracted Tarnwick.exe."},
    {Text::SaveFileChanged,
     "The save file (%1) has been changed by another program since Tarnwick last read or wrote it.\n"
     "Do you want to overwrite it?\n(Click No to load the changed file.)"},
    {Text::SaveFileChangedCaption, "Save File Changed"},
    {Text::SaveFileNotLoaded,
     "The save file (%1) holds registrations that Tarnwick has not loaded.\n"
     "Do you want to overwrite it?\n(Click No to load the file.)"},
    {Text::SettingsFileChanged,
     "The options file (%1) has been changed by another program since Tarnwick last read or wrote it.\n"
     "Do you want to overwrite it?\n(Click No to load the changed file.)"},
    {Text::SettingsFileChangedCaption, "Options File Changed"},
    {Text::SaveFileSwitched,
     "The save file name has been changed.\nDo you want to clear the list and load the new save file?\n"
     "(Click No to keep the list as it is.)"},
    {Text::SaveFileSwitchedCaption, "Save File"},
    {Text::AutoLoadForStartup,
     "The Tarnwick that the shortcut starts at logon watches the registered programs only if it loads the "
     "save file at startup.\nDo you want to switch on \"Load the save file at startup\" as well?"},
    {Text::AutoLoadForStartupCaption, "Auto-load"},
    {Text::SettingsSaveFailed,
     "Tarnwick could not save the options file (%1).\n"
     "Make sure that files can be written to its folder."},
    {Text::SaveFailedCaption, "Save Failed"},
    {Text::PathNotShiftJis,
     "The path of the selected file contains characters that Tarnwick cannot keep, such as accented letters: "
     "its files hold names in the Japanese character set, which has English letters and digits but no "
     "accents.\nChoose a folder and file whose names use English or Japanese characters only."},
    {Text::PathNotShiftJisCaption, "Choose Save File"},
    {Text::ConfirmHighPriority,
     "Running %1 at %2 priority can slow other applications down considerably and is not "
     "recommended.\nDo you really want to set it?"},
    {Text::ConfirmHighPriorityCaption, "Confirm Priority"},
    {Text::ProgramNameMissing, "Enter a program name."},
    {Text::ProgramNameComma, "A program name cannot contain a comma (,), which the save file cannot hold.\n"
                             "Enter a name without commas."},
    {Text::ProgramNameWithoutExtension,
     "Did you mean %1?\nTarnwick matches the whole file name, extension included.\n"
     "(Click No to keep the name as typed.)"},
    {Text::ProgramNameCaption, "Program Name"},
    {Text::AlreadyRegistered, "%1 is already registered.\nCorrect the name, or edit the existing registration."},
    {Text::AlreadyRegisteredCaption, "Add Program"},
    {Text::ConfirmDelete, "Do you really want to delete the registration of %1?"},
    {Text::ConfirmDeleteCaption, "Confirm Delete"},
    {Text::RegistrationsSaveFailed,
     "Tarnwick could not save the registrations. Check the save file's path on the options' File page."},
    {Text::ConfirmEnd,
     "The changes to the registrations have not been saved.\nDo you want to save them before Tarnwick ends?\n"
     "(Click No to discard the changes.)"},
    {Text::ConfirmEndCaption, "Confirm Exit"},
    {Text::ConfirmReload,
     "The changes to the registrations have not been saved.\n"
     "Do you want to save them before Tarnwick loads the other save file?\n(Click No to discard the changes.)"},
    {Text::ConfirmReloadCaption, "Save File"},
    {Text::ShortcutFailed, "Tarnwick could not create the shortcut."},
    {Text::InitErrorCaption, "Tarnwick Start-up Error"},
    {Text::VersionUnknown, "Tarnwick could not read the Windows version."},
    {Text::InitFailed, "An error occurred while Tarnwick was starting."},
    {Text::AlreadyRunningElevated, "Tarnwick is already running as administrator."},
    {Text::HistoryChanged, "%1 %2: %3 → %4"},
    {Text::HistoryNotGranted, "%1 %2: %3 was not allowed; it got %4."},
    {Text::HistoryHigherRights, "%1 %2 runs with higher rights than Tarnwick; its priority cannot be changed."},
    {Text::HistoryEfficiencyMode, "%1 %2 runs in efficiency mode; its priority is left as it is."},
    {Text::HistoryRefusedRetrying, "%1 %2 denied access. Trying again."},
    {Text::HistoryRefusedUnwatched, "%1 %2 denied access. It is no longer watched."},
    {Text::HistoryNotLoaded,
     "%1 Registrations in the save file that are not loaded: %2. Click Load, or turn on "
     "\"Load the save file at startup\" in the options, to bring them in."},
    {Text::HistorySessionEndCopy,
     "%1 When Windows ended the last session, another program had changed the save file; "
     "the registrations that were not saved are in %2."},
    {Text::ProcessorsInvalid, "Enter the processors as numbers and ranges from 0 to 63, separated by commas, such as 0-3,8."},
    {Text::ProcessorsNotHere, "None of the processors %1 exist on this computer (%2)."},
    {Text::MoreSettingsCaption, "More Settings"},
    {Text::NotSet, "Not set"},
    {Text::EfficiencyLeftToWindows, "Left to Windows"},
    {Text::EfficiencyAlwaysOff, "Always off"},
    {Text::EfficiencyAlwaysOn, "Always on"},
    {Text::ThisComputersProcessors, "This computer: %1"},
    {Text::ColumnMore, "More"},
    {Text::HistoryCompanionDamaged, "%1 The file of further settings %2 had lines that could not be read; they were skipped: %3."},
    {Text::HistorySettingsApplied, "%1 %2: %3"},
    {Text::HistorySettingMissing, "%1 %2: %3 cannot be set on this Windows; it is not tried again."},
    {Text::HistorySettingRefused, "%1 %2: %3 was refused."},
    {Text::HistoryNoProcessorsHere, "%1 %2: none of the processors %3 exist on this computer."},
    {Text::SettingIo, "I/O %1"},
    {Text::SettingMemory, "Memory %1"},
    {Text::SettingProcessors, "CPU %1"},
    {Text::EfficiencyOff, "Efficiency off"},
    {Text::EfficiencyOn, "Efficiency on"},
    {Text::IoVeryLow, "very low"},
    {Text::IoLow, "low"},
    {Text::IoNormal, "normal"},
    {Text::MemoryVeryLow, "very low"},
    {Text::MemoryLow, "low"},
    {Text::MemoryMedium, "medium"},
    {Text::MemoryBelowNormal, "below normal"},
    {Text::MemoryNormal, "normal"},
};
static_assert(Complete(kEnglish), "the English table lacks a text or has one out of order");

Language g_language = Language::Japanese;

}  // namespace

void UseLanguage(Language language) { g_language = language; }

Language CurrentLanguage() { return g_language; }

const char* TextIn(Language language, Text text) {
    const TextRow* table = language == Language::English ? kEnglish : kJapanese;
    return table[static_cast<std::size_t>(text)].text;
}

const char* TextOf(Text text) { return TextIn(g_language, text); }

std::string TextWith(Text text, std::initializer_list<std::string_view> values) {
    const std::string_view pattern = TextOf(text);
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t index = i + 1 < pattern.size() ? static_cast<std::size_t>(pattern[i + 1] - '1') : 9;
        if (pattern[i] == '%' && index < values.size()) {
            out += values.begin()[index];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace tarnwick
