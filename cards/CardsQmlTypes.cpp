#include "cards/CardsQmlTypes.h"

#include "cards/TBitmapImage.h"

#include <QtQml/qqml.h>
#include <mutex>

void RegisterCardsQmlTypes()
{
    static std::once_flag once;
    std::call_once(once, [] { qmlRegisterType<TBitmapImage>("VantCards", 1, 0, "BitmapImage"); });
}
