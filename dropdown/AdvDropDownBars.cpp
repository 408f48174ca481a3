// The pop-up's header and footer bars of unit AdvDropDown, their appearances and button items.
#include <algorithm>

#include "dropdown/AdvDropDown.h"
#include "platform/ui/WinUser.h"
#include "platform/win/Window.h"

using namespace advdropdown;

// ---------------------------------------------------------------------------------------------
// Button items

void THeaderButton::SetCaption(const String& value) {
    if (FCaption == value) return;
    FCaption = value;
    Changed(false);
}

void THeaderButton::SetEnabled(bool value) {
    if (FEnabled == value) return;
    FEnabled = value;
    Changed(false);
}

void THeaderButton::SetWidth(int value) {
    if (FWidth == value) return;
    FWidth = value;
    Changed(false);
}

void THeaderButton::Assign(const TPersistent* Source) {
    const auto* s = dynamic_cast<const THeaderButton*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->FCaption);
    SetImageIndex(s->FImageIndex);
    SetEnabled(s->FEnabled);
    SetWidth(s->FWidth);
    SetHeight(s->FHeight);
}

void TFooterButton::Assign(const TPersistent* Source) {
    THeaderButton::Assign(Source);
    if (const auto* s = dynamic_cast<const TFooterButton*>(Source)) FModalResult = s->FModalResult;
}

// ---------------------------------------------------------------------------------------------
// Appearances

TBarAppearance::TBarAppearance(TPersistent* AOwner) : FOwner(AOwner), FFont(std::make_unique<TFont>()) {}

TBarAppearance::~TBarAppearance() = default;

void TBarAppearance::SetVisible(bool value) {
    if (FVisible == value) return;
    FVisible = value;
    if (OnChange) OnChange(this);
}

void TBarAppearance::ButtonsChanged(TObject*) {
    if (OnButtonsChanged) OnButtonsChanged(this);
}

void TBarAppearance::AssignBar(const TBarAppearance& Source) {
    FColorTo = Source.FColorTo;
    FColor = Source.FColor;
    FBorderColor = Source.FBorderColor;
    FCaption = Source.FCaption;
    FFont->Assign(Source.FFont.get());
    FImageIndex = Source.FImageIndex;
    FBorderWidth = Source.FBorderWidth;
    FGradientDirection = Source.FGradientDirection;
    FHeight = Source.FHeight;
    SetVisible(Source.FVisible);
    FButtonAlignment = Source.FButtonAlignment;
    ButtonItems()->Assign(Source.ButtonItems());
}

void TBarAppearance::AssignBarColors(const TBarAppearance& Source) {
    FColorTo = Source.FColorTo;
    FColor = Source.FColor;
    FBorderColor = Source.FBorderColor;
    FFont->Assign(Source.FFont.get());
    FGradientDirection = Source.FGradientDirection;
}

THeaderAppearance::THeaderAppearance(TPersistent* AOwner)
    : TBarAppearance(AOwner), FButtons(std::make_unique<THeaderButtons>(AOwner)) {
    Font()->SetName(String("Tahoma"));
    FButtons->OnChange = [this](TObject* Sender) { ButtonsChanged(Sender); };
}

void THeaderAppearance::Assign(const TPersistent* Source) {
    if (auto* s = dynamic_cast<const THeaderAppearance*>(Source)) AssignBar(*s);
}

void THeaderAppearance::AssignColors(const TPersistent* Source) {
    if (auto* s = dynamic_cast<const THeaderAppearance*>(Source)) AssignBarColors(*s);
}

TFooterAppearance::TFooterAppearance(TPersistent* AOwner)
    : TBarAppearance(AOwner), FButtons(std::make_unique<TFooterButtons>(AOwner)) {
    FButtons->OnChange = [this](TObject* Sender) { ButtonsChanged(Sender); };
}

void TFooterAppearance::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TFooterAppearance*>(Source);
    if (!s) return;
    AssignBar(*s);
    FSizeGrip = s->FSizeGrip;
}

void TFooterAppearance::AssignColors(const TPersistent* Source) {
    if (auto* s = dynamic_cast<const TFooterAppearance*>(Source)) AssignBarColors(*s);
}

// ---------------------------------------------------------------------------------------------
// The bars

namespace advdropdown {

template <class TAppearance>
TPopupBar<TAppearance>::TPopupBar(TComponent* AOwner)
    : TCustomControl(AOwner),
      FAppearance(std::make_unique<TAppearance>(AOwner)),
      FButtonList(std::make_unique<TDbgList>()) {
    FAppearance->OnChange = [this](TObject* Sender) { AppearanceChanged(Sender); };
    FAppearance->OnButtonsChanged = [](TObject*) {};
    SetControlStyle(ControlStyle() << csAcceptsControls << csClickEvents << csDoubleClicks);
    SetDoubleBuffered(true);
}

template <class TAppearance>
TPopupBar<TAppearance>::~TPopupBar() = default;

template <class TAppearance>
void TPopupBar<TAppearance>::SetImages(TCustomImageList* value) {
    if (FImages == value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
    Invalidate();
}

template <class TAppearance>
void TPopupBar<TAppearance>::SetAdvDropDown(TAdvCustomDropDown* value) {
    FAdvDropDown = value;
    if (!value) {
        SetImages(nullptr);
        return;
    }
    SetImages(value->Images());
    FAppearance->Assign(LinkedAppearance());
    Invalidate();
}

template <class TAppearance>
void TPopupBar<TAppearance>::RebuildButtons() {
    if (FAdvDropDown) CreateButtons();
}

template <class TAppearance>
void TPopupBar<TAppearance>::AppearanceChanged(TObject*) {
    SetVisible(FAppearance->Visible());
    SetHeight(FAppearance->Height());
}

template <class TAppearance>
TRect TPopupBar<TAppearance>::ButtonArea() const {
    return InsetArea(ClientRect());
}

template <class TAppearance>
TRect TPopupBar<TAppearance>::CaptionLimit() const {
    if (FButtonList->Count() == 0) return TRect(-1, -1, -1, -1);
    TRect r = ButtonArea();
    r.Right = static_cast<TAdvButton*>(FButtonList->GetItemsEx(FButtonList->Count() - 1))->Left() - 2;
    return r;
}

template <class TAppearance>
void TPopupBar<TAppearance>::ButtonClick(TObject* Sender) {
    auto* button = dynamic_cast<TAdvButton*>(Sender);
    if (!button || !FAdvDropDown) return;
    if (TDropDownButtonItemClick click = ItemClick()) click(FAdvDropDown, button->Tag());
}

template <class TAppearance>
void TPopupBar<TAppearance>::ClearButtons() {
    for (int i = FButtonList->Count() - 1; i >= 0; --i) static_cast<TAdvButton*>(FButtonList->GetItemsEx(i))->Free();
    FButtonList->Clear();
}

template <class TAppearance>
void TPopupBar<TAppearance>::CreateButtons() {
    if (!FAdvDropDown || !LinkedAppearance()) return;
    const auto* items = LinkedAppearance()->Buttons();
    if (!items) return;
    ClearButtons();
    const int h = ButtonAreaHeight();
    for (int i = 0; i < items->Count(); ++i) {
        auto* item = items->Items(i);
        auto* button = NewComponent<TAdvButton>(this);
        button->SetParent(this);
        ButtonMade(button, i);
        button->SetAppearance(FAdvDropDown->ButtonAppearance());
        button->SetCaption(item->Caption());
        button->SetImages(FImages);
        button->SetImageIndex(item->ImageIndex());
        button->SetEnabled(item->Enabled());
        button->SizeToContent();
        if (item->Width() > 0) button->SetWidth(item->Width());
        if (item->Height() > 0) button->SetHeight(item->Height());
        if (button->Height() > h) button->SetHeight(h);
        button->SetTag(i);
        button->OnClick = [this](TObject* Sender) { ButtonClick(Sender); };
        FButtonList->Add(button);
    }
    ArrangeButtons();
}

template <class TAppearance>
void TPopupBar<TAppearance>::ArrangeButtons() {
    const TRect a = ButtonArea();
    int x = FAppearance->ButtonAlignment() == baRight ? a.Right : a.Left;
    for (int i = 0; i < FButtonList->Count(); ++i) {
        auto* b = static_cast<TAdvButton*>(FButtonList->GetItemsEx(i));
        const int top = std::max(a.Top, (a.Bottom - b->Height()) / 2);
        if (FAppearance->ButtonAlignment() == baRight) {
            x -= b->Width();
            b->SetBounds(x, top, b->Width(), b->Height());
        } else {
            b->SetBounds(x, top, b->Width(), b->Height());
            x += b->Width();
        }
    }
}

template <class TAppearance>
void TPopupBar<TAppearance>::UpdateButtons() {
    const auto* items = LinkedAppearance() ? LinkedAppearance()->Buttons() : nullptr;
    for (int i = 0; i < FButtonList->Count(); ++i) {
        auto* b = static_cast<TAdvButton*>(FButtonList->GetItemsEx(i));
        if (FAdvDropDown) b->SetAppearance(FAdvDropDown->ButtonAppearance());
        b->SetImages(FImages);
        if (items && b->Tag() >= 0 && b->Tag() < items->Count()) {
            auto* item = items->Items(b->Tag());
            b->SetCaption(item->Caption());
            b->SetImageIndex(item->ImageIndex());
            b->SetEnabled(item->Enabled());
        }
        b->SizeToContent();
    }
    ArrangeButtons();
}

template <class TAppearance>
void TPopupBar<TAppearance>::Resize() {
    TCustomControl::Resize();
    ArrangeButtons();
}

template <class TAppearance>
void TPopupBar<TAppearance>::Paint() {
    TCanvas* canvas = Canvas();
    const TRect R = ClientRect();
    if (OnDrawBackGround) {
        OnDrawBackGround(this, canvas, R);
        return;
    }
    const TAppearance& a = *FAppearance;
    if (a.ColorTo() == clNone) {
        if (a.Color() != clNone) {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(a.Color());
            canvas->FillRect(R);
        }
    } else {
        StepGradient(canvas, a.Color(), a.ColorTo(), 80, R, a.GradientDirection() == gdHorizontal);
    }
    const int bw = a.BorderWidth();
    if (a.BorderColor() != clNone && bw > 0) {
        canvas->Pen()->SetWidth(bw);
        canvas->Pen()->SetColor(a.BorderColor());
        // The pop-up's own frame stands for the outer lines.
        const bool outer = !FAdvDropDown || FAdvDropDown->DropDownBorderWidth() <= 0 ||
                           FAdvDropDown->DropDownBorderColor() == clNone;
        DrawFrame(canvas, R, outer);
    }
    TRect T = R;
    InflateRect(T, -bw, -bw);
    if (a.ImageIndex() >= 0 && FImages) {
        FImages->Draw(canvas, T.Left + 4, T.Top + (T.Height() - FImages->Height()) / 2, a.ImageIndex(), true);
        T.Left += FImages->Width() + 8;
    }
    String text = a.Caption();
    if (OnGetText) OnGetText(this, text);
    if (!text.empty()) {
        if (FButtonList->Count() > 0) T.Right = CaptionLimit().Right;
        canvas->Font()->Assign(a.Font());
        canvas->Brush()->SetStyle(bsClear);
        const HWND wnd = Handle();
        const TSize size = DrawHtmlText(canvas, text, T, FImages, false, wnd, true);
        if (size.cy < T.Height()) T.Top += (T.Height() - size.cy) / 2;
        DrawHtmlText(canvas, text, T, FImages, true, wnd, true);
    }
    PaintLast(R);
}

template <class TAppearance>
void TPopupBar<TAppearance>::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

template class TPopupBar<THeaderAppearance>;
template class TPopupBar<TFooterAppearance>;

}  // namespace advdropdown

// ---------------------------------------------------------------------------------------------
// The header

THeaderButtons* TAdvHeader::Buttons() const { return AdvDropDown() ? AdvDropDown()->DropDownHeader()->Buttons() : nullptr; }

const THeaderAppearance* TAdvHeader::LinkedAppearance() const {
    return AdvDropDown() ? AdvDropDown()->DropDownHeader() : nullptr;
}

TDropDownButtonItemClick TAdvHeader::ItemClick() const {
    return AdvDropDown() ? AdvDropDown()->OnDropDownHeaderButtonClick : nullptr;
}

TRect TAdvHeader::InsetArea(TRect client) const {
    return TRect(client.Left + 2, client.Top + 2, client.Right - 2, client.Bottom - 3);
}

void TAdvHeader::DrawFrame(TCanvas* canvas, const TRect& R, bool outer) const {
    canvas->MoveTo(R.Left, R.Bottom - 1);
    canvas->LineTo(R.Right, R.Bottom - 1);
    if (outer) {
        canvas->MoveTo(R.Left, R.Bottom - 1);
        canvas->LineTo(R.Left, R.Top);
        canvas->LineTo(R.Right, R.Top);
        canvas->LineTo(R.Right, R.Bottom - 1);
    }
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(BlendColor(Appearance()->BorderColor(), clWhite, 20));
    canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom - Appearance()->BorderWidth());
}

// ---------------------------------------------------------------------------------------------
// The footer

TAdvFooter::TAdvFooter(TComponent* AOwner) : TPopupBar(AOwner) {
    SetControlStyle(ControlStyle() << csCaptureMouse);
}

TFooterButtons* TAdvFooter::Buttons() const { return AdvDropDown() ? AdvDropDown()->DropDownFooter()->Buttons() : nullptr; }

const TFooterAppearance* TAdvFooter::LinkedAppearance() const {
    return AdvDropDown() ? AdvDropDown()->DropDownFooter() : nullptr;
}

TDropDownButtonItemClick TAdvFooter::ItemClick() const {
    return AdvDropDown() ? AdvDropDown()->OnDropDownFooterButtonClick : nullptr;
}

bool TAdvFooter::SizeGripActive() const {
    return Appearance()->SizeGrip() && AdvDropDown() && AdvDropDown()->DropDownSizeable();
}

TRect TAdvFooter::InsetArea(TRect client) const {
    return TRect(client.Left + 2, client.Top + 2, client.Right - 2 - (SizeGripActive() ? 12 : 0), client.Bottom - 2);
}

void TAdvFooter::ButtonMade(TAdvButton* button, int Index) {
    button->SetAdvDropDown(AdvDropDown());
    button->SetModalResult(LinkedAppearance()->Buttons()->Items(Index)->ModalResult());
}

void TAdvFooter::DrawFrame(TCanvas* canvas, const TRect& R, bool outer) const {
    canvas->MoveTo(R.Left, R.Top);
    canvas->LineTo(R.Right, R.Top);
    if (outer) {
        canvas->MoveTo(R.Left, R.Top);
        canvas->LineTo(R.Left, R.Bottom);
        canvas->LineTo(R.Right, R.Bottom);
        canvas->LineTo(R.Right, R.Top);
    }
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(BlendColor(Appearance()->BorderColor(), clWhite, 20));
    canvas->Rectangle(R.Left, R.Top + Appearance()->BorderWidth(), R.Right, R.Bottom);
}

void TAdvFooter::PaintLast(const TRect& R) {
    if (!SizeGripActive()) return;
    const int bw = Appearance()->BorderWidth();
    DrawSizeGrip(TRect(R.Right - bw - 16, 1, R.Right - bw - 1, R.Bottom));
}

void TAdvFooter::DrawSizeGrip(const TRect& G) {
    TCanvas* canvas = Canvas();
    const int L = G.Left, B = G.Bottom;
    const TPoint dots[] = {Point(L + 5, B - 4),  Point(L + 9, B - 4), Point(L + 13, B - 4),
                           Point(L + 13, B - 8), Point(L + 13, B - 12), Point(L + 9, B - 8)};
    auto dot = [canvas](int x, int y, TColor color) {
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(color);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(color);
        canvas->Rectangle(x, y, x + 2, y + 2);
    };
    for (const TPoint& p : dots) {
        dot(p.X, p.Y, clWhite);
        dot(p.X - 1, p.Y - 1, Appearance()->BorderColor());
    }
}

bool TAdvFooter::InGripZone(int X, int Y) const {
    return SizeGripActive() && Parent() && X > Width() - 12 && Y > Height() - 15;
}

void TAdvFooter::RestoreCursor() {
    if (Screen->Cursor() != FCursor) Screen->SetCursor(FCursor);
}

void TAdvFooter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPopupBar::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !InGripZone(X, Y)) return;
    ReleaseCapture();
    SendMessage(Parent()->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, 0);
}

void TAdvFooter::MouseMove(TShiftState Shift, int X, int Y) {
    TPopupBar::MouseMove(Shift, X, Y);
    if (InGripZone(X, Y))
        Screen->SetCursor(crSizeNWSE);
    else
        RestoreCursor();
}

void TAdvFooter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPopupBar::MouseUp(Button, Shift, X, Y);
    RestoreCursor();
}

void TAdvFooter::CMMouseEnter(TMessage& Message) {
    TPopupBar::CMMouseEnter(Message);
    if (Screen->Cursor() != crSizeNWSE) FCursor = Screen->Cursor();
}

void TAdvFooter::CMMouseLeave(TMessage& Message) {
    TPopupBar::CMMouseLeave(Message);
    RestoreCursor();
}
