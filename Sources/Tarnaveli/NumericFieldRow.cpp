#include "Tarnaveli/NumericFieldRow.h"

#include "Framework/Utilities.h"
#include "Gui/Label.h"
#include "Gui/Look.h"
#include "Gui/TextField.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace
{
constexpr int32_t kLabelWidth = 140;
constexpr int32_t kFieldWidth = 80;
constexpr uint32_t kMaxChars = 20;
constexpr uint32_t kBlack = 0xFF000000;

bool parseNumber(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    while (end != nullptr && *end == ' ')
        ++end;
    return errno == 0 && end != nullptr && *end == '\0' && std::isfinite(value);
}
} // namespace

NumericFieldRow::NumericFieldRow(int32_t x, int32_t y, int32_t width, int32_t height,
                                 const std::string& label, Kind kind, void* values, uint32_t count)
    : Container(x, y, width, height, LOOK_EMPTY), mKind(kind), mValues(values),
      mMinimum(kind == Kind::Byte ? 0.0f : -std::numeric_limits<float>::max()),
      mMaximum(kind == Kind::Byte ? 255.0f : std::numeric_limits<float>::max())
{
    // Children stand relative to the row.
    addChild(std::make_unique<Label>(0, 0, kLabelWidth, height, label, kBlack, 0));
    for (uint32_t i = 0; i < count; ++i)
    {
        auto* field = new TextField(kLabelWidth + static_cast<int32_t>(i) * kFieldWidth, 0, kFieldWidth,
                                    height, std::string(), kMaxChars, kBlack);
        addChild(field);
        mFields.push_back(field);
    }
    refresh();
}

void NumericFieldRow::setLimits(float minimum, float maximum)
{
    mMinimum = minimum;
    mMaximum = maximum;
}

void NumericFieldRow::apply()
{
    for (size_t i = 0; i < mFields.size(); ++i)
    {
        double value = 0.0;
        if (!parseNumber(mFields[i]->getText(), value))
            continue;
        value = std::clamp(value, double{mMinimum}, double{mMaximum});
        if (mKind == Kind::Float)
            static_cast<float*>(mValues)[i] = static_cast<float>(value);
        else
            static_cast<uint8_t*>(mValues)[i] = static_cast<uint8_t>(std::lround(value));
    }
    refresh();
}

void NumericFieldRow::refresh()
{
    for (size_t i = 0; i < mFields.size(); ++i)
    {
        std::string text;
        if (mKind == Kind::Float)
            stringFormat(text, 255, "%f", static_cast<double>(static_cast<float*>(mValues)[i]));
        else
            stringFormat(text, 255, "%i", static_cast<int>(static_cast<uint8_t*>(mValues)[i]));
        mFields[i]->setText(text);
    }
}
