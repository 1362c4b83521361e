#include "linepricing.h"

#include "pricerules.h"
#include "serviceprice.h"

namespace chemodesk::charging {

double classRate(const ServiceRates &rates, const QString &roomClass)
{
    if (roomClass == QLatin1String("B"))
        return rates.RateB;
    if (roomClass == QLatin1String("C"))
        return rates.RateC;
    if (roomClass == QLatin1String("D"))
        return rates.RateD;
    if (roomClass == QLatin1String("E"))
        return rates.RateE;
    return rates.RateA;
}

double assessmentRate(const ServiceRates &rates, bool rateG)
{
    return rateG ? rates.RateG : rates.RateA;
}

double patientSellingPrice(const QString &patientType, double sellingPriceIn,
                           double sellingPriceOut)
{
    return patientType == QLatin1String("O") ? sellingPriceOut : sellingPriceIn;
}

double MedicinePrice(bool ipdPrice, bool discounted, double sellingPriceIn, double sellingPriceOut)
{
    if (discounted)
        return sellingPriceOut;
    return ipdPrice ? sellingPriceIn : sellingPriceOut;
}

double surchargedPrice(Connection &connection, RateSettings &settings, double base, bool markup,
                       bool stat)
{
    double price = base;
    if (markup) {
        settings.BasePrice = price;
        price = ApplyMarkup(connection, settings);
    }
    if (stat)
        price = StatPrice(connection, price).trimmed().toDouble();
    return price;
}

} // namespace chemodesk::charging
