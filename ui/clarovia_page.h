// What every page of the settings sheet does alike: it edits the program's settings in
// place and judges every change against them; its check boxes and radio buttons go
// through the page's click rule; its level trackbar keeps the level label up to date;
// its edits and its up-down mark the page changed; its controls take a fixed layout.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

#include "controls.h"
#include "property_sheet.h"
#include "settings_fields.h"

namespace ui {

using app::SettingsFields;

// Shows `level` in the level label `labelId` of `dialog`, in the label's three forms.
void ShowLevelText(HWND dialog, int labelId, int level);

class CClaroviaPage : public fw::PropertyPage {
public:
    explicit CClaroviaPage(UINT templateId) : fw::PropertyPage(templateId) {}

    // The settings the page edits; set by the sheet before it runs.
    SettingsFields* Settings = nullptr;

protected:
    // The click rule for check box or radio button `id` (a click, or one posted at
    // initialisation); the message goes on to the normal processing afterwards.
    virtual void OnClick(int id) = 0;
    virtual bool IsClickable(int id) const = 0;

    // The page's level trackbar, its label and the field they edit (none by default).
    void UseLevel(int trackbarId, int labelId, int SettingsFields::*field) {
        levelId_ = trackbarId;
        levelLabelId_ = labelId;
        levelField_ = field;
    }
    // Edits whose every change marks the page changed; the up-down whose arrows do.
    void UseMarkingEdits(std::initializer_list<int> ids) { markingEdits_ = ids; }
    void UseMarkingUpDown(int id) { upDownId_ = id; }

    // Posts a click of `id` to the page, which the click rule handles after the page's
    // creation is complete.
    void PostClick(int id) { PostMessageW(hwnd(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
    // Whether check box `id` differs from `field`; marks the page changed if so.
    bool MarkIfDiffers(int id, int field);
    void MarkChanged() { SetModified(); }
    int Check(int id) const { return fw::CheckState(hwnd(), id); }
    void Enable(std::initializer_list<int> ids, bool enable) { fw::EnableItems(hwnd(), ids, enable); }

    // The level trackbar: the level's range, then the stored level.
    void InitLevel(int level) {
        const app::NumberRange range = app::RangeOf(levelField_);
        fw::InitTrackbar(hwnd(), levelId_, range.low, range.high, level);
    }
    int Level() const { return fw::TrackbarPos(hwnd(), levelId_); }
    void ShowLevel(int level) { ShowLevelText(hwnd(), levelLabelId_, level); }

    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int levelId_ = 0;
    int levelLabelId_ = 0;
    int SettingsFields::*levelField_ = nullptr;
    std::vector<int> markingEdits_;
    int upDownId_ = 0;
};

// A page with tooltips: every message of the sheet's loop reaches them first.
class CTooltipPage : public CClaroviaPage {
public:
    using CClaroviaPage::CClaroviaPage;

protected:
    bool PreTranslateMessage(const MSG& msg) override;
    // Creates the tooltip for control `id` with string resource `textId`; from then on
    // the page feeds it.
    void AddTooltip(fw::Tooltip& tip, int id, UINT textId);

private:
    std::vector<const fw::Tooltip*> tips_;
};

}  // namespace ui
