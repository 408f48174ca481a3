#pragma once
// Control bases of the image-control set: a windowed control with update counting and hooks for
// mouse enter and leave, font and text changes, and a control that composes itself in an
// off-screen image and copies it to the screen in one piece, so it never flickers.
#include <memory>

#include "controls/instrument/VrClasses.h"
#include "platform/ui/Controls.h"

// The hand pointer the unit installs at start-up, from the program's resource "VRCURSORHANDPOINT".
constexpr TCursor crVrHandPoint = 99;

class TVrCustomControl : public TCustomControl {
public:
    explicit TVrCustomControl(TComponent* AOwner);
    const char* ClassName() const override { return "TVrCustomControl"; }
    const String& Version() const { return FVersion; }
    void SetVersion(const String& value) { FVersion = value; }

    // Repaints are held back until the outermost EndUpdate, which repaints.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    // OnMouseEnter and OnMouseLeave are the control's own events.
    TNotifyEvent OnFontChanged;
    TNotifyEvent OnTextChanged;

protected:
    // Paints at once, except while the component loads or inside an update.
    virtual void RequestRepaint();
    virtual void DoFontChanged();
    virtual void DoTextChanged();
    // The setter of a look property: stores a changed value and repaints.
    template <class T>
    void SetLook(T& field, T value) {
        if (field == value) return;
        field = value;
        RequestRepaint();
    }
    void CMFontChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;

    int FUpdateCount = 0;

private:
    String FVersion;
};

class TVrCustomImageControl : public TVrCustomControl {
public:
    explicit TVrCustomImageControl(TComponent* AOwner);
    ~TVrCustomImageControl() override;
    const char* ClassName() const override { return "TVrCustomImageControl"; }

protected:
    // Sizes the image to the control and fills it with Color.
    virtual void ClearImage();
    // Copies the whole image to the control in one transfer; descendants draw into the image's
    // canvas first, then call this.
    void Paint() override;
    TBitmap* BitmapImage() const { return FBitmapImage.get(); }
    // The control's own canvas, the one the image is copied to.
    TCanvas* DestCanvas() { return Canvas(); }

private:
    std::unique_ptr<TBitmap> FBitmapImage;
};
