// Matrices and the handle rules.
#include "platform/gdiplus/tests/GdiPlusTest.h"

namespace gdiplus_test {
namespace {

using Matrices = GdiPlusTest;

TEST_F(Matrices, ANinetyDegreeRotationTurnsTheXAxisIntoTheYAxis) {
    GpMatrix* m = nullptr;
    ASSERT_EQ(GdipCreateMatrix(&m), Ok);
    ASSERT_EQ(GdipRotateMatrix(m, 90, MatrixOrderPrepend), Ok);
    GpPointF p[2] = {{1, 0}, {0, 1}};
    ASSERT_EQ(GdipTransformMatrixPoints(m, p, 2), Ok);
    EXPECT_FLOAT_EQ(p[0].X, 0);
    EXPECT_FLOAT_EQ(p[0].Y, 1);
    EXPECT_FLOAT_EQ(p[1].X, -1);
    EXPECT_FLOAT_EQ(p[1].Y, 0);
    // Prepend applies the new step first, append last.
    GdipTranslateMatrix(m, 10, 0, MatrixOrderAppend);
    GpPoint q{1, 0};
    GdipTransformMatrixPointsI(m, &q, 1);
    EXPECT_EQ(q.X, 10);
    EXPECT_EQ(q.Y, 1);
    GpPointF v{1, 0};
    GdipVectorTransformMatrixPoints(m, &v, 1);
    EXPECT_FLOAT_EQ(v.X, 0);
}

TEST_F(Matrices, ASingularMatrixRefusesToInvertAndStaysAsItWas) {
    GpMatrix* m = nullptr;
    ASSERT_EQ(GdipCreateMatrix2(1, 2, 2, 4, 5, 6, &m), Ok);
    BOOL invertible = 1;
    ASSERT_EQ(GdipIsMatrixInvertible(m, &invertible), Ok);
    EXPECT_FALSE(invertible);
    EXPECT_EQ(GdipInvertMatrix(m), InvalidParameter);
    REAL e[6];
    GdipGetMatrixElements(m, e);
    EXPECT_EQ(e[3], 4);
    EXPECT_EQ(e[5], 6);
    ASSERT_EQ(GdipSetMatrixElements(m, 2, 0, 0, 4, 6, 8), Ok);
    ASSERT_EQ(GdipInvertMatrix(m), Ok);
    GpPointF p{8, 24};
    GdipTransformMatrixPoints(m, &p, 1);
    EXPECT_FLOAT_EQ(p.X, 1);
    EXPECT_FLOAT_EQ(p.Y, 4);
}

TEST_F(Matrices, NilStaleAndForeignHandlesAreInvalidParameters) {
    GpMatrix* m = nullptr;
    GdipCreateMatrix(&m);
    ASSERT_EQ(GdipDeleteMatrix(m), Ok);
    BOOL identity = 0;
    EXPECT_EQ(GdipIsMatrixIdentity(m, &identity), InvalidParameter);
    EXPECT_EQ(GdipDeleteMatrix(m), InvalidParameter);
    EXPECT_EQ(GdipIsMatrixIdentity(nullptr, &identity), InvalidParameter);
    GpPen* pen = nullptr;
    GdipCreatePen1(0xFF000000, 1, UnitWorld, &pen);
    EXPECT_EQ(GdipIsMatrixIdentity(reinterpret_cast<GpMatrix*>(pen), &identity), InvalidParameter);
    EXPECT_EQ(GdipCreateMatrix(nullptr), InvalidParameter);
}

TEST(GdiPlusNotStarted, CallsAnswerThatGdiPlusIsNotStarted) {
    GpMatrix* m = nullptr;
    EXPECT_EQ(GdipCreateMatrix(&m), GdiplusNotInitialized);
    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    input.GdiplusVersion = 9;
    EXPECT_EQ(GdiplusStartup(&token, &input, nullptr), UnsupportedGdiplusVersion);
    input.GdiplusVersion = 1;
    input.SuppressBackgroundThread = 1;
    EXPECT_EQ(GdiplusStartup(&token, &input, nullptr), InvalidParameter);
}

}  // namespace
}  // namespace gdiplus_test
