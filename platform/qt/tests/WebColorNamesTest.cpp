// The web colour names against an independent list of the keywords' values: Qt's named colours
// are the SVG keywords, which are the CSS ones.
#include <gtest/gtest.h>

#include <QColor>
#include <QString>
#include <set>
#include <string>

#include "platform/ui/Graphics.h"

namespace {

TEST(WebColorNamesTest, EveryNameSpellsAKeywordOfItsValue) {
    std::set<std::string> names;
    for (const QString& keyword : QColor::colorNames()) {
        QColor q(keyword);
        if (q.alpha() != 255) continue;  // "transparent" is no colour
        SCOPED_TRACE(keyword.toStdString());
        auto color = static_cast<TColor>(RGB(q.red(), q.green(), q.blue()));
        std::string name = ColorToWebColorName(color).ToUtf8();
        if (name.rfind("clWeb", 0) != 0) {
            // Only a keyword newer than the table may go without a name.
            EXPECT_EQ(QString::fromStdString(name), q.name().toUpper());
            EXPECT_EQ(keyword, QString("rebeccapurple"));
            continue;
        }
        QColor spelled(QString::fromStdString(name.substr(5)).toLower());
        ASSERT_TRUE(spelled.isValid()) << name;
        EXPECT_EQ(spelled.rgb(), q.rgb()) << name;
        names.insert(name);
    }
    // 138 names reached, none twice: the table's entries are distinct and each one's value
    // is its keyword's.
    EXPECT_EQ(names.size(), 138u);
}

}  // namespace
