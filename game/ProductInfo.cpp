#include "game/ProductInfo.h"

std::string WindowTitle() { return std::string("Korvanta - ") + webAddress + " " + rightsNotice; }
