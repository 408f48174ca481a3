// The cell graphic object: its setters, ownership and copy, the grid's making, finding and
// removing of graphics, the kind tests, the sort key and the sizes graphics need.
#include <memory>
#include <string>

#include "grid/tests/GridModelSupport.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

class CellGraphicTest : public GridModelTest {};

// An object that counts its instances, to see what the grid frees.
class Counted : public TPersistent {
public:
    static inline int Alive = 0;
    Counted() { ++Alive; }
    ~Counted() override { --Alive; }
    const char* ClassName() const override { return "Counted"; }
};

class Measured : public TPersistent, public IGridCellGraphic {
public:
    const char* ClassName() const override { return "Measured"; }
    void Draw(TCanvas*, const TRect&, int, int, bool, TVerAdevovEdav*) override {}
    int GetWidth() override { return 0; }
    int GetHeight() override { return 12; }
    bool DrawsOverCell() override { return false; }
};

TEST_F(CellGraphicTest, SettersAngleButtonAndPictureSizes) {
    TCellGraphic g;
    for (auto [in, out] : {std::pair{-30, 330}, {720, 360}, {360, 360}, {-90, 270}, {45, 45}}) {
        g.SetAngle(static_cast<int16_t>(in));
        EXPECT_EQ(g.CellAngle, out) << in;
        EXPECT_EQ(g.CellType, ctRotated);
    }
    g.SetButton(40, 20, u"Go", haLeft, TCellVAlign::vaTop);
    EXPECT_EQ(g.CellIndex, 0x00140028);
    EXPECT_EQ(g.CellType, ctButton);
    EXPECT_EQ(g.CellAngle, 45);  // setters leave other fields

    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(100, 50);
    TPicture picture;
    picture.Assign(bmp.get());
    ASSERT_EQ(picture.Width(), 100);
    struct Case {
        TStretchMode mode;
        int cw, rh;
        TPoint size;
    };
    const Case cases[] = {
        {TStretchMode::Stretch, 54, 54, {50, 50}},
        {TStretchMode::StretchWithAspectRatio, 54, 54, {50, 25}},
        {TStretchMode::Shrink, 54, 54, {50, 50}},
        {TStretchMode::ShrinkWithAspectRatio, 54, 54, {50, 25}},
        {TStretchMode::noStretch, 54, 54, {100, 50}},
        {TStretchMode::StretchWithAspectRatio, 104, 54, {100, 50}},
        {TStretchMode::Shrink, 204, 204, {100, 50}},
    };
    TCellGraphic p;
    for (const Case& c : cases) {
        p.SetPicture(&picture, false, c.mode, 4, haLeft, TCellVAlign::vaTop);
        EXPECT_EQ(p.GetPictureSize(c.cw, c.rh, false), c.size) << static_cast<int>(c.mode) << " " << c.cw;
    }
    // A copy takes CellCreated but never the picture.
    p.CellCreated = true;
    TCellGraphic copy;
    copy.Assign(&p);
    EXPECT_TRUE(copy.CellCreated);
    EXPECT_EQ(copy.CellBitmap(), nullptr);
    EXPECT_EQ(copy.CellType, ctPicture);
    p.CellCreated = false;  // the picture is the test's
}

TEST_F(CellGraphicTest, OwnershipByKind) {
    struct Case {
        TCellType kind;
        bool created;
        int angle;
        bool freed;
    };
    const Case cases[] = {
        {ctBitmap, true, 0, true},   {ctBitmap, false, 0, false}, {ctImages, false, 0, true},
        {ctBalloon, false, 0, true}, {ctCheckBox, false, 1, true}, {ctCheckBox, true, 0, false},
        {ctInterface, true, 0, false}, {ctPicture, true, 0, true},
    };
    for (const Case& c : cases) {
        Counted::Alive = 0;
        auto* held = new Counted();
        {
            TCellGraphic g;
            g.CellType = c.kind;
            g.CellCreated = c.created;
            g.CellAngle = c.angle;
            g.SetCellBitmap(held);
        }
        EXPECT_EQ(Counted::Alive, c.freed ? 0 : 1) << static_cast<int>(c.kind);
        if (!c.freed) delete held;
    }
    // A colour is a value, never an object.
    TCellGraphic progress;
    progress.CellType = ctProgress;
    progress.BitmapSlot().SetColor(clRed);
    progress.CellCreated = true;
    EXPECT_EQ(progress.CellBitmap(), nullptr);
    EXPECT_EQ(progress.BitmapSlot().Color(), clRed);
}

TEST_F(CellGraphicTest, MakeFindAndRemove) {
    auto* g = MakeGrid(5, 6);
    TCellGraphic* made = g->CreateCellGraphic(1, 1);
    EXPECT_EQ(g->GetCellEx(1, 1), u"");
    EXPECT_EQ(g->GetCellGraphic(1, 1), made);
    EXPECT_EQ(g->GetCellType(1, 1), ctNone);
    EXPECT_EQ(g->GetCellType(-1, 1), ctEmpty);
    EXPECT_EQ(g->GetCellType(2, 2), ctEmpty);
    EXPECT_FALSE(g->HasClickControl(-1, 0));
    EXPECT_FALSE(g->RemoveCellGraphic(1, 1, ctButton));
    EXPECT_TRUE(g->RemoveCellGraphic(1, 1, ctNone));
    EXPECT_EQ(g->GetCellGraphic(1, 1), nullptr);
    EXPECT_FALSE(g->FreeCellGraphic(1, 1));

    // Virtual and row check boxes are never freed by the grid.
    TCellGraphic* virt = g->CreateCellGraphic(2, 1);
    virt->CellType = ctVirtCheckBox;
    EXPECT_TRUE(g->FreeCellGraphic(2, 1));
    EXPECT_EQ(g->GetCellGraphic(2, 1), nullptr);
    delete virt;

    // Another class is no graphic and stays.
    Counted::Alive = 0;
    auto* other = new Counted();
    delete g->SetGraphicObjectEx(3, 1, other);
    EXPECT_EQ(g->GetCellType(3, 1), ctEmpty);
    EXPECT_FALSE(g->FreeCellGraphic(3, 1));
    EXPECT_EQ(Counted::Alive, 1);
    EXPECT_EQ(g->SetGraphicObjectEx(3, 1, nullptr), other);
    delete other;

    // Click controls and the base cell of a block.
    struct Kind {
        TCellType kind;
        bool click;
        bool check;
    };
    for (const Kind& k : {Kind{ctCheckBox, true, true}, Kind{ctTriStateCheckBox, true, true},
                          Kind{ctRadio, true, false}, Kind{ctButton, true, false}, Kind{ctBitButton, false, false},
                          Kind{ctRadioButton, true, false}, Kind{ctProgress, false, false}}) {
        g->CreateCellGraphic(1, 3)->CellType = k.kind;
        EXPECT_EQ(g->HasClickControl(1, 3), k.click) << static_cast<int>(k.kind);
        EXPECT_EQ(g->HasCheckBox(1, 3), k.check) << static_cast<int>(k.kind);
    }
    g->MergeCells(1, 3, 2, 2);
    g->CreateCellGraphic(1, 3)->CellType = ctButton;
    EXPECT_TRUE(g->HasButton(2, 4));
    EXPECT_TRUE(g->HasClickControl(2, 4));

    // Sort keys.
    TBitmap shared;
    g->CreateCellGraphic(1, 5)->SetBitmap(&shared, false, haLeft, TCellVAlign::vaTop);
    g->CreateCellGraphic(2, 5)->SetBitmap(&shared, false, haLeft, TCellVAlign::vaTop);
    g->CreateCellGraphic(3, 5)->SetImageIdx(7, haLeft, TCellVAlign::vaTop);
    EXPECT_EQ(g->GetCellGraphicSortKey(1, 5), g->GetCellGraphicSortKey(2, 5));
    EXPECT_NE(g->GetCellGraphicSortKey(1, 5), -1);
    EXPECT_EQ(g->GetCellGraphicSortKey(3, 5), 7);
    EXPECT_EQ(g->GetCellGraphicSortKey(4, 5), -1);
    g->FreeCellGraphic(1, 5);
    g->FreeCellGraphic(2, 5);

    // A row's colour cleared keeps the cell that has a graphic and frees the plain ones.
    g->SetRowColor(2, clBlue);
    g->CreateCellGraphic(3, 2)->CellType = ctComment;
    g->SetRowColor(2, clNone);
    EXPECT_TRUE(g->HasCellProperties(3, 2));
    EXPECT_EQ(g->GetCellType(3, 2), ctComment);
    EXPECT_FALSE(g->HasCellProperties(2, 2));

    // Multi-image cells answer their list.
    TCellGraphic* images = g->CreateCellGraphic(4, 4);
    images->SetMultiImage(4, 4, 0, haLeft, TCellVAlign::vaTop, nullptr);
    ASSERT_NE(g->GetCellImages(4, 4), nullptr);
    EXPECT_EQ(g->GetCellImages(4, 3), nullptr);
}

TEST_F(CellGraphicTest, RowCheckBoxesOfColumnZero) {
    auto* g = MakeGrid(4, 5);
    Counted::Alive = 0;
    TCellGraphic* own = g->CreateCellGraphic(0, 2);
    own->CellType = ctBitmap;
    own->CellCreated = true;
    own->SetCellBitmap(new Counted());
    g->MouseActions()->SetHotmailRowSelect(true);
    EXPECT_EQ(g->GetCellType(0, 2), ctRowCheckBox);
    EXPECT_EQ(g->GetCellType(0, 3), ctRowCheckBox);
    // Only the cell's own graphic goes.
    TCellGraphic* fresh = g->CreateCellGraphic(0, 2);
    EXPECT_EQ(Counted::Alive, 0);
    EXPECT_NE(g->GetCellGraphic(0, 2), fresh);  // the scratch graphic answers for column 0
    EXPECT_EQ(g->GetCellGraphic(0, 2)->CellType, ctRowCheckBox);

    g->SetRowSelect(2, true);
    TCellGraphic* head = g->GetCellGraphic(0, 0);
    EXPECT_EQ(head->CellAngle, 1);
    EXPECT_FALSE(head->CellBoolean);
    EXPECT_TRUE(g->GetCellGraphic(0, 2)->CellBoolean);
    EXPECT_FALSE(g->GetCellGraphic(0, 3)->CellBoolean);
    g->SelectRows(1, 4);
    head = g->GetCellGraphic(0, 0);
    EXPECT_EQ(head->CellAngle, 0);
    EXPECT_TRUE(head->CellBoolean);
    g->MouseActions()->SetHotmailRowSelect(false);
}

TEST_F(CellGraphicTest, Sizes) {
    auto* g = MakeGrid(5, 8);
    g->Canvas()->Font()->SetName(u"Sans");
    g->Canvas()->Font()->SetSize(10);
    g->Font()->SetName(u"Sans");
    g->Font()->SetSize(10);
    TIcon icon;
    icon.Bitmap()->SetSize(32, 32);
    ASSERT_EQ(icon.Width(), 32);
    TBitmap bmp;
    bmp.SetSize(16, 16);
    auto* list = new TCustomImageList(form);
    list->SetWidth(16);
    list->SetHeight(16);
    g->SetGridImages(list);
    TStringList radio;
    radio.SetCommaText(u"one,three");
    auto size = [&](auto setup, bool text) {
        g->SetCellEx(1, 1, text ? u"text" : u"");
        setup(g->CreateCellGraphic(1, 1));
        TPoint p = g->GetCellGraphicSize(1, 1);
        g->SetCellEx(1, 1, u"");
        return p;
    };
    using V = TCellVAlign;
    EXPECT_EQ(size([&](TCellGraphic* c) { c->SetIcon(&icon, haLeft, V::vaTop); }, true), (TPoint{0, 32}));
    EXPECT_EQ(size([&](TCellGraphic* c) { c->SetIcon(&icon, haBeforeText, V::vaTop); }, true), (TPoint{32, 32}));
    EXPECT_EQ(size([&](TCellGraphic* c) { c->SetBitmap(&bmp, false, haLeft, V::vaTop); }, true), (TPoint{0, 0}));
    EXPECT_EQ(size([&](TCellGraphic* c) { c->SetBitmap(&bmp, false, haLeft, V::vaAboveText); }, true), (TPoint{0, 16}));
    EXPECT_EQ(size([&](TCellGraphic* c) { c->SetBitmap(&bmp, false, haLeft, V::vaTop); }, false), (TPoint{16, 16}));
    EXPECT_EQ(size([&](TCellGraphic* c) { c->SetCheckBox(true, false, false, haLeft, V::vaTop); }, false), (TPoint{15, 15}));
    EXPECT_EQ(size([&](TCellGraphic* c) { c->CellType = ctProgressPie; }, false), (TPoint{20, 20}));
    EXPECT_EQ(size([&](TCellGraphic* c) { c->CellType = ctRating; c->CellAngle = 5; }, false), (TPoint{90, 16}));
    EXPECT_EQ(size([&](TCellGraphic* c) { c->SetMultiImage(1, 1, 0, haLeft, V::vaTop, nullptr);
                        for (int i = 0; i < 3; ++i) static_cast<TIntList*>(c->CellBitmap())->Add(i); }, false),
              (TPoint{48, 16}));
    TCanvas* canvas = g->Canvas();
    const int one = canvas->TextWidth(u"one") + 12, three = canvas->TextWidth(u"three") + 12;
    const int gh = canvas->TextHeight(u"gh");
    EXPECT_EQ(size([&](TCellGraphic* c) { c->CellType = ctRadio; c->SetCellBitmap(&radio); c->CellBoolean = true; }, false),
              (TPoint{one + three, gh}));
    EXPECT_EQ(size([&](TCellGraphic* c) { c->CellType = ctRadio; c->SetCellBitmap(&radio); c->CellBoolean = false; }, false),
              (TPoint{std::max(12, three), 2 * std::max(16, gh)}));
    const TRect cell = g->CellRect(1, 1);
    EXPECT_EQ(size([&](TCellGraphic* c) { c->SetButton(40, 20, u"Caption", haFull, V::vaTop); }, true).X, cell.Width());
    EXPECT_EQ(size([&](TCellGraphic* c) { c->SetButton(40, 20, u"Caption", haFull, V::vaTop); }, false).X,
              canvas->TextWidth(u"Caption") + 4);
    EXPECT_EQ(size([&](TCellGraphic* c) { c->SetCheckBox(true, false, false, haLeft, V::vaFull); }, false).Y,
              cell.Height());

    // The printing form.
    Measured measured;
    Counted plain;
    auto sizeEx = [&](auto setup) {
        setup(g->CreateCellGraphic(2, 2));
        return g->GetCellGraphicSizeEx(2, 2, 60, 30, 2.0);
    };
    EXPECT_EQ(sizeEx([&](TCellGraphic* c) { c->SetInterfacedCell(&measured); }), (TPoint{g->CellRect(2, 2).Width(), 12}));
    EXPECT_EQ(sizeEx([&](TCellGraphic* c) { c->SetInterfacedCell(&plain); }), (TPoint{0, 0}));
    EXPECT_EQ(sizeEx([&](TCellGraphic* c) { c->CellType = ctNode; }), (TPoint{20, 20}));
    g->SetRowHeights(2, 22);
    EXPECT_EQ(sizeEx([&](TCellGraphic* c) { c->CellType = ctShape; }), (TPoint{18, 18}));
    EXPECT_EQ(sizeEx([&](TCellGraphic* c) { c->CellType = ctProgress; }), (TPoint{g->ColWidths(2), 22}));
    TBitmap big;
    big.SetSize(100, 50);
    TPicture picture;
    picture.Assign(&big);
    // 60 x 30 less padding 5: (55, 25) stretched, halved and rounded to even: (28, 12).
    EXPECT_EQ(sizeEx([&](TCellGraphic* c) { c->SetPicture(&picture, false, TStretchMode::Stretch, 5, haLeft, V::vaTop); }),
              (TPoint{28, 12}));
    g->FreeCellGraphic(2, 2);
    g->FreeCellGraphic(1, 1);
}

}  // namespace
