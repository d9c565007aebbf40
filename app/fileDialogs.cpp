#include "fileDialogs.h"

#include <shlobj.h>

#include <cwchar>

#include "errors.h"
#include "guiTexts.h"
#include "pathHelpers.h"
#include "records.h"
#include "windowHelpers.h"

std::wstring filterString(const std::vector<std::pair<std::wstring, std::wstring>>& entries) {
  std::wstring filter;
  for (const auto& [description, pattern] : entries) {
    filter += description;
    filter += L'\0';
    filter += pattern;
    filter += L'\0';
  }
  return filter + L'\0';
}

const std::wstring applyPatchFilter = filterString({
    {L"All supported files (*.ml, *.xdelta, *.ips, *.ups, *.aps, *.bps, *.bsd, *.ppf, *.rup)",
     L"*.ml;*.xdelta;*.ips;*.ups;*.aps;*.bps;*.bsd;*.ppf;*.rup"},
    {L"Morlo patch (*.ml)", L"*.ml"},
    {L"Xdelta patch (*.xdelta)", L"*.xdelta"},
    {L"IPS patch (*.ips)", L"*.ips"},
    {L"UPS patch (*.ups)", L"*.ups"},
    {L"APS patch (*.aps)", L"*.aps"},
    {L"BPS patch (*.bps)", L"*.bps"},
    {L"BSDiff patch (*.bsd)", L"*.bsd"},
    {L"PPF patch (*.ppf)", L"*.ppf"},
    {L"RUP patch (*.rup)", L"*.rup"},
    {L"All files (*.*)", L"*.*"}});

const std::wstring gameFileFilter = filterString({
    {L"Game files (All)",
     L"*.nes;*.sfc;*.smc;*.z64;*.v64;*.n64;*.gb;*.gba;*.agb;*.nds;*.dsi;*.sms;*.gen;*.smd;*.bin;*.iso;*.img"},
    {L"Nintendo (*.nes)", L"*.nes"},
    {L"Super Nintendo (*.sfc, *.smc)", L"*.sfc;*.smc"},
    {L"Nintendo 64 (*.z64, *.v64, *.n64)", L"*.z64;*.v64;*.n64"},
    {L"Game Boy (*.gb)", L"*.gb"},
    {L"Game Boy Advance (*.gba, *.agb)", L"*.gba;*.agb"},
    {L"Nintendo DS (*.nds, *.dsi)", L"*.nds;*.dsi"},
    {L"Sega Master System (*.sms)", L"*.sms"},
    {L"Sega Genesis/MegaDrive (*.gen, *.smd, *.bin)", L"*.gen;*.smd;*.bin"},
    {L"Disc images (*.iso, *.img, *.bin)", L"*.iso;*.img;*.bin"},
    {L"ISO image (*.iso)", L"*.iso"},
    {L"IMG image (*.img)", L"*.img"},
    {L"BIN image (*.bin)", L"*.bin"},
    {L"All files (*.*)", L"*.*"}});

const std::wstring createPatchFilter =
    filterString({{L"Morlo patch (*.ml)", L"*.ml"}, {L"Xdelta patch (*.xdelta)", L"*.xdelta"}});

const std::wstring templateFileFilter =
    filterString({{L"Description template(*.txt)", L"*.txt"}, {L"All files (*.*)", L"*.*"}});

fileDialog theFileDialog;

fileDialog::fileDialog() {
  record.lStructSize = sizeof record;
  record.lpstrFile = fileBuffer;
  record.nMaxFile = MAX_PATH;
  record.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
}

void setDialogOwner(fileDialog& dialog, HWND owner) { dialog.record.hwndOwner = owner; }

dialogResult showSystemDialog(OPENFILENAMEW& record, bool save) {
  const bool chosen = (save ? GetSaveFileNameW(&record) : GetOpenFileNameW(&record)) != FALSE;
  return {chosen, chosen ? 0 : CommDlgExtendedError()};
}

namespace {

// Paths are kept in buffers of MAX_PATH units: a longer one is refused, never cut.
[[noreturn]] void refuseLongPath() { localStrShow.raise(guiErrorTexts[3]); }

// A path too long for the dialog's buffer is not proposed: cut, it would name another file.
std::wstring proposedDialogName(const std::wstring& path) {
  return path.size() < MAX_PATH ? path : std::wstring();
}

// Runs the dialog on the path; a proposed name that the dialog refuses (a ':' in a template named
// after a hack) is dropped rather than opening nothing.
bool choosePath(fileDialog& dialog, std::wstring& path, const std::wstring& filter, bool save) {
  dialog.record.lpstrFilter = filter.c_str();
  const std::wstring proposed = proposedDialogName(path);
  wcsncpy(dialog.fileBuffer, proposed.c_str(), MAX_PATH);
  dialogResult result = dialog.show(dialog.record, save);
  if (result.error == FNERR_INVALIDFILENAME && !proposed.empty()) {
    dialog.fileBuffer[0] = L'\0';
    result = dialog.show(dialog.record, save);
  }
  dialog.record.lpstrFilter = nullptr;
  if (result.error == FNERR_BUFFERTOOSMALL) refuseLongPath();
  if (result.chosen) path = dialog.fileBuffer;
  return result.chosen;
}

bool choosePathForEdit(fileDialog& dialog, HWND edit, std::wstring& field, uint8_t& mask,
                       uint8_t bit, const std::wstring& filter, int reversed, bool save) {
  if (!choosePath(dialog, field, filter, save)) return false;
  mask |= bit;
  // Unlike a drop, a dialog leaves the caret alone, so the start of a long path is in view.
  const std::wstring* shown = &field;
  if (reversed) {
    dialog.displayPath = reversePathForDisplay(field);
    shown = &dialog.displayPath;
  }
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown->c_str()));
  return true;
}

}  // namespace

bool openFileDialog(fileDialog& dialog, HWND edit, std::wstring& field, uint8_t& mask, uint8_t bit,
                    const std::wstring& filter, int reversed) {
  return choosePathForEdit(dialog, edit, field, mask, bit, filter, reversed, false);
}

bool saveFileDialog(fileDialog& dialog, HWND edit, std::wstring& field, uint8_t& mask, uint8_t bit,
                    const std::wstring& filter, int reversed) {
  return choosePathForEdit(dialog, edit, field, mask, bit, filter, reversed, true);
}

bool openOriginalGameDialog(fileDialog& dialog, HWND edit, std::wstring& field, uint8_t& mask,
                            const std::wstring& shortcutPath, int useShortcut, int reversed) {
  if (!useShortcut)
    return openFileDialog(dialog, edit, field, mask, sourceChosenBit, gameFileFilter, reversed);
  std::wstring start = shortcutPath;
  if (!openFileDialog(dialog, edit, start, mask, sourceChosenBit, gameFileFilter, reversed)) return false;
  field = start;
  return true;
}

bool openPlainFileDialog(fileDialog& dialog, std::wstring& path, const std::wstring& filter) {
  return choosePath(dialog, path, filter, false);
}

bool savePlainFileDialog(fileDialog& dialog, std::wstring& path, const std::wstring& filter) {
  return choosePath(dialog, path, filter, true);
}

bool chooseFolder(HWND owner, std::wstring& path, const std::wstring& title) {
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = folderBrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(path.c_str());
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (!item) return false;
  // Asked for whole, so that a long path is told apart from a folder that has none.
  PWSTR folder = nullptr;
  const bool found = SUCCEEDED(SHGetNameFromIDList(item, SIGDN_FILESYSPATH, &folder));
  CoTaskMemFree(item);
  const std::wstring chosen = found ? folder : L"";
  CoTaskMemFree(folder);
  if (chosen.size() >= MAX_PATH) refuseLongPath();
  if (found) path = chosen;
  return found;
}
