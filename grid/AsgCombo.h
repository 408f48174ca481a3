#pragma once
// Unit AsgCombo: the flat combo box the grid's combo editors derive from. Its look (flat with an
// underline, border and focus colours, the coloured or styled drop button with its hover band,
// the caption label) is the styled combo box's, so it is built on it; what it adds: the
// platform's own painting on newer systems when no button colour is set (IsVista), the label's
// two right-hand positions that leave the label where it is, and Etched kept but not drawn.
#include "controls/styled/AdvCombo.h"

namespace AsgCombo {
// The styled combo's thirteen positions in its order, then two that place nothing.
enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom, lpTopRight,
    lpBottomRight
};
}  // namespace AsgCombo

class TAsgCustomCombo : public TAdvCustomCombo {
public:
    explicit TAsgCustomCombo(TComponent* AOwner);
    const char* ClassName() const override { return "TAsgCustomCombo"; }

    AsgCombo::TLabelPosition LabelPosition() const { return FLabelPosition; }
    // lpTopRight and lpBottomRight leave the label where it was.
    void SetLabelPosition(AsgCombo::TLabelPosition value);
    // Stored and repainted; the button border does not change with it.
    bool Etched() const { return FEtchedLook; }
    void SetEtched(bool value);
    // With no ButtonColor the platform paints alone, and only BorderColor adds a frame.
    bool IsVista() const { return FIsVista; }
    void SetIsVista(bool value);
    // A label at lpTopRight or lpBottomRight stays where it is when the combo moves.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Paint() override;
    void WMPaint(TMessage& Message) override;
    void WMNCPaint(TMessage& Message) override;
    // While hot the button's border area is only kept clear, with no edge drawn.
    void DrawButtonEdge(TCanvas* Canvas) override;

private:
    bool PlatformPaints() const { return FIsVista && ButtonColor() == clNone; }

    AsgCombo::TLabelPosition FLabelPosition = AsgCombo::lpLeftTop;
    bool FEtchedLook = false;
    bool FIsVista = false;
};

class TAsgComboBox : public TAsgCustomCombo {
public:
    using TAsgCustomCombo::TAsgCustomCombo;
    const char* ClassName() const override { return "TAsgComboBox"; }
};
