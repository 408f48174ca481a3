// The styled edit in drag and drop of text: as a target, text dropped at the character under
// the mouse with a drop caret following it; as a source, its selection dragged out (moved, or
// copied with Ctrl). OLE is initialised once for the process.
#include "controls/styled/AdvEddd.h"
#include "controls/styled/AdvEdit.h"
#include "platform/win/Window.h"

namespace {

// The unit's start and end: OLE for the process.
struct OleForTheProcess {
    OleForTheProcess() { OleInitialize(nullptr); }
    ~OleForTheProcess() { OleUninitialize(); }
} gOle;

}  // namespace

// The edit's target: text only goes in at the character under the mouse.
class TEditDropTarget final : public TAEDropTarget {
public:
    explicit TEditDropTarget(TAdvEdit* aEdit) : FEdit(aEdit) {}

    // A read-only edit takes nothing.
    HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override {
        TAEDropTarget::DragEnter(data, keyState, pt, effect);
        if (FEdit->ReadOnly() && effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT DragOver(DWORD keyState, POINTL pt, DWORD* effect) override {
        TAEDropTarget::DragOver(keyState, pt, effect);
        if (FEdit->ReadOnly() && effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override {
        if (FEdit->ReadOnly()) {
            if (effect) *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        return TAEDropTarget::Drop(data, keyState, pt, effect);
    }
    void DropText(TPoint pt, const String& s) override { FEdit->DropTextAt(FEdit->ScreenToClient(pt), s); }
    void DragMouseMove(TPoint pt, bool& Allow) override {
        Allow = true;
        const TPoint client = FEdit->ScreenToClient(pt);
        const int at = FEdit->CharFromPos(client);
        const TPoint caret = at >= 0 ? FEdit->PosFromChar(static_cast<WORD>(at)) : TPoint(-1, -1);
        if (caret != FEdit->FDropCaret) {
            FEdit->InvalidateDropCaret();
            FEdit->FDropCaret = caret;
            FEdit->InvalidateDropCaret();
        }
    }

private:
    TAdvEdit* FEdit;
};

void TAdvEdit::InvalidateDropCaret() {
    if (FDropCaret.X < 0) return;
    TBitmap measure;
    measure.Canvas()->Font()->Assign(Font());
    InvalidateRect(TRect(FDropCaret.X, FDropCaret.Y, FDropCaret.X + 1, FDropCaret.Y + measure.Canvas()->TextHeight(u"gh")));
}

void TAdvEdit::SetOleDropTarget(bool value) {
    FOleDropTarget = value;
    if (ComponentState().Contains(csDesigning)) return;
    if (value) {
        if (!FDropTargetRegistered) RegisterDropTarget();
    } else if (FDropTargetRegistered) {
        if (HandleAllocated()) RevokeDragDrop(Handle());
        FDropTargetRegistered = false;
    }
}

void TAdvEdit::RegisterDropTarget() {
    ComPtr<TEditDropTarget> target(new TEditDropTarget(this));
    // A failed registration leaves the edit without drops, unreported.
    FDropTargetRegistered = RegisterDragDrop(Handle(), target.Get()) == S_OK;
}

void TAdvEdit::DropTextAt(const TPoint& client, const String& text) {
    String s = text;
    s = String(s.substr(0, s.find(u'\r')));
    s = String(s.substr(0, s.find(u'\n')));
    int at = CharFromPos(client);
    if (at < 0) at = TCustomEdit::Text().Length();
    const int selStart = SelStart(), selEnd = SelStart() + SelLength();
    if (FIsDragSource && at >= selStart && at <= selEnd) {
        // Dropped on itself: nothing moves, and the source keeps its text.
        FDropInOwnSelection = true;
        return;
    }
    if (FIsDragSource && GetKeyState(VK_CONTROL) >= 0) {
        // Moved: the text goes where the drop caret showed it, the selection taken out first.
        ClearSelection();
        if (at > selEnd) at -= selEnd - selStart;
    }
    InvalidateDropCaret();
    FDropCaret = TPoint(-1, -1);
    // As it stands: the typed-input rules are for typing.
    ReplaceRange(at, at, s, true);
    SetModified(true);
    Invalidate();
}

void TAdvEdit::WMLButtonDown(TMessage& Message) {
    if (Focused() && SelLength() > 0) {
        const int at = CharFromPos(TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
        if (at >= SelStart() && at < SelStart() + SelLength()) {
            FButtonDown = true;  // the selection stays for a drag
            return;
        }
    }
    TCustomEdit::WMLButtonDown(Message);
}

void TAdvEdit::WMMouseMove(TMessage& Message) {
    TCustomEdit::WMMouseMove(Message);
    if (SelLength() == 0 || !FButtonDown || !FOleDropSource) return;
    FIsDragSource = true;
    FDropInOwnSelection = false;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr;
    try {
        hr = StartTextDrag(SelText(), String(), DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
    } catch (...) {
        FIsDragSource = false;
        FButtonDown = false;
        throw;
    }
    FIsDragSource = false;
    FButtonDown = false;
    if (GetKeyState(VK_CONTROL) >= 0 && hr == DRAGDROP_S_DROP && !FDropInOwnSelection) {
        ClearSelection();
        InvalidateDropCaret();
        FDropCaret = TPoint(-1, -1);
        Invalidate();
    }
    FDropInOwnSelection = false;
}
