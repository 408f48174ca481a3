#pragma once
// Unit AdvDetailDropDown: an editable drop-down whose pop-up lists items with a caption, an
// optional image and optional rich-text notes under the caption, in the item selector, whose item
// drawing it replaces. A choice writes the caption into the edit; typing completes the text from
// the captions and keeps ItemIndex in step; typed keys also search the list (type-ahead, cleared
// 500 ms after the last key), open or closed.
#include <cstdint>
#include <functional>
#include <memory>

#include "dropdown/AdvDropDown.h"
#include "platform/ui/ExtCtrls.h"

// Replaces the drawing of every list item; the item's index is not passed.
using TOnDrawSelectedItem = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R)>;

// An item: Caption and ImageIndex tell the collection when they change; a non-empty Image is
// drawn in place of ImageIndex; Notes are drawn by the rich-text engine under the caption.
class TDetailItem : public TCollectionItem {
public:
    explicit TDetailItem(TCollection* Collection = nullptr);
    ~TDetailItem() override;
    const char* ClassName() const override { return "TDetailItem"; }
    // Caption, ImageIndex, the picture and Enabled; not Notes.
    void Assign(const TPersistent* Source) override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TPicture* Image() const { return FImage.get(); }
    void SetImage(const TPicture* value) { FImage->Assign(value); }
    bool HasImage() const;
    const String& Notes() const { return FNotes; }
    void SetNotes(const String& value) { FNotes = value; }
    bool Enabled() const { return FEnabled; }

private:
    String FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    std::unique_ptr<TPicture> FImage;
    String FNotes;
};

// The items; OnChange follows the items' own changes.
class TDetailItems : public advdropdown::TNotifyingItems<TDetailItem, false> {
public:
    using TNotifyingItems::TNotifyingItems;
    const char* ClassName() const override { return "TDetailItems"; }
    // The first item whose Caption equals value exactly (case counts); -1 for none.
    int IndexOf(const String& value) const;
};

class TAdvDetailDropDown : public TAdvCustomDropDown {
public:
    static constexpr UINT kKeyTimeoutMs = 500;
    static constexpr int kListHeight = 100;
    // A completion adds at most this many characters of the caption after the typed prefix.
    static constexpr size_t kMaxCompletion = 255;

    explicit TAdvDetailDropDown(TComponent* AOwner);
    ~TAdvDetailDropDown() override;
    const char* ClassName() const override { return "TAdvDetailDropDown"; }

    TDetailItems* Items() const { return FItems.get(); }
    void SetItems(const TDetailItems* value) { FItems->Assign(value); }
    // -1: none. A new index in range writes its caption through Text, selects it whole and fires
    // OnSelect; -1 empties the text silently; anything else (the same index, out of range) is
    // ignored.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value) { FItemHeight = value; }
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout value) { FLayout = value; }
    TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(const TItemAppearance* value) { FItemAppearance->Assign(value); }
    TFont* CaptionFont() const { return FCaptionFont.get(); }
    void SetCaptionFont(const TFont* value) { FCaptionFont->Assign(value); }
    TFont* NotesFont() const { return FNotesFont.get(); }
    void SetNotesFont(const TFont* value) { FNotesFont->Assign(value); }
    // Auto-complete compares with case when set.
    bool MatchCase() const { return FMatchCase; }
    void SetMatchCase(bool value) { FMatchCase = value; }
    // Stored only.
    bool MatchStart() const { return FMatchStart; }
    void SetMatchStart(bool value) { FMatchStart = value; }
    // The list in the pop-up (none at design time).
    TAdvCustomItemSelector* ItemSelector() const { return FItemSelector; }
    // The type-ahead text typed so far.
    const String& CurSearch() const { return FCurSearch; }

    // No wrap-around; from none SelectNext and SelectPrevious take the first item.
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();

    void SetSelectionColorStyle(TSelectionColorStyle Style) override;
    void SetComponentStyle(TQRBStyle AStyle) override;

    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedImage;

protected:
    void AfterConstruction() override;
    // The item selector, made once, drawing and measuring its items through this drop-down.
    void BuildPopup() override;
    // Refills the list from Items and remembers ItemIndex for a cancelled close.
    void PreparePopup() override;
    // The list takes the focus.
    void OpenPopup() override;
    // The list as wide as the edit and 100 high unless the pop-up has a size of its own.
    void SizePopup() override;
    void ClosePopup(bool Cancelled) override;
    void PopupSizing(TObject* Sender) override;
    void WheelSelectNext() override;
    void WheelSelectPrevious() override;
    void HandleChange() override;
    void HandleKeyDown(WORD& Key, TShiftState Shift) override;
    void HandleKeyUp(WORD& Key, TShiftState Shift) override;
    void KeyDownMessage(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void LoadItemSelector();
    void ListItemSelected(TObject* Sender);
    void MeasureListItem(TObject* Sender, TSize& ASize);
    void DrawListItem(TObject* Sender, TCanvas* Canvas, TRect R, int Index);

private:
    // Runs f with the internal-call flag set, so the list's selection leaves the pop-up open.
    template <class F>
    void Internal(F&& f);
    // Sets the list's index (when below its count) and scrolls it into view, internally.
    void SelectInList(int index);
    // Writes the text through Text without completing it.
    void WriteText(const String& value);

    TAdvCustomItemSelector* FItemSelector = nullptr;
    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TDetailItems> FItems;
    int FItemIndex = -1;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    bool FInternalCall = false;
    TTimer* FKeyTimer = nullptr;
    String FCurSearch;
    int FOldItemIndex = -1;
    int FItemHeight = 22;
    std::unique_ptr<TFont> FCaptionFont;
    std::unique_ptr<TFont> FNotesFont;
    bool FWorkMode = true;
    // While the drop-down writes the text itself: the change is not completed.
    bool FCompleting = false;
    bool FItemChange = false;
    int FItemIdx = -1;
    int FItemSel = 0;
    // What the text is compared with for Modified: never assigned, so any text marks it.
    String FOldValue;
    bool FMatchCase = false;
    bool FMatchStart = false;
};
