#pragma once

#include <QString>
#include <QStringView>

namespace vm2::engine {

// The town's two kinds of place identifiers, never to be mixed.
//
// The walkable places: each has a number (a place button's Tag and the index of the
// place's event counter), a code (PlaceCode, and the names of the place's scripts and
// background) and a name (its button caption and place label). Places 1 to 7 are
// their own codes; the others have a letter. The code "9" of the endings and the
// bonus event (kEndingsPlace) is no walkable place.
struct Place {
    int number;
    const char16_t *code;
    const char16_t *name;

    // The texts without a copy: they live in the table for the life of the program.
    QString codeText() const { return tableText(code); }
    QString nameText() const { return tableText(name); }
    // Whether the code is a letter rather than the number (a "9" line names the
    // counter of such a place by its code).
    bool lettered() const;

private:
    static QString tableText(QStringView text)
    {
        return QString::fromRawData(text.data(), text.size());
    }
};

// The walkable places are numbered 1 to kPlaceCount.
constexpr int kPlaceCount = 9;
// The walkable place of that number (1 to 9) or code, or nullptr.
const Place *placeByNumber(int number);
const Place *placeByCode(QStringView code);
// Home: where a game starts, and where a next day and LOAD lead.
const Place &home();
// The code of the event files of the endings and the bonus event.
inline const QString kEndingsPlace = QStringLiteral("9");

// The place-label codes of the script command "F", which only name the place label:
// the name for `code` in the main flow or in a block (two names differ there), or a
// null string for a code that leaves the label unchanged.
enum class Where { MainFlow, Block };
QString placeLabelName(QChar code, Where where);

} // namespace vm2::engine
