#include "endings.h"

#include "script.h"

namespace vm2::engine {

int endingEvent(int heroine, bool happy)
{
    if (heroine == 5)
        return happy ? 0 : 1;
    return happy ? heroine : heroine + 3;
}

QString seenEndingKey(int heroine)
{
    return QStringLiteral("Endcnt") + QString::number(heroine);
}

const ClosingWords &closingWords(bool happy)
{
    static const ClosingWords kHappy{
        colour::kRose, QStringLiteral("Happy End.\r\n\r\nThank you for your Playing!")};
    static const ClosingWords kBad{colour::kBlack,
                                   QStringLiteral("The End.\r\n\r\nCould you Try Again?")};
    return happy ? kHappy : kBad;
}

bool endsGame(QStringView talkText)
{
    return talkText.contains(u"End", Qt::CaseSensitive);
}

} // namespace vm2::engine
