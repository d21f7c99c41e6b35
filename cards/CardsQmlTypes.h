// Makes the card items known to QML under the import "VantCards". Safe to call
// more than once.
#pragma once

void RegisterCardsQmlTypes();
