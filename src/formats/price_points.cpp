#include "formats/price_points.h"

PricePointList PricePoints;
