#pragma once
// A labelled row of small text fields bound to an array of numbers: floats
// shown as "%f" or bytes shown as "%i". Applying reads every field back into
// the array (a field that does not hold a number keeps its value) and shows
// the array again.
#include "Gui/Container.h"

#include <string>
#include <vector>

class TextField;

class NumericFieldRow : public Container
{
public:
    enum class Kind
    {
        Float,
        Byte
    };

    // The array must outlive the row; it holds count values of the kind.
    NumericFieldRow(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& label, Kind kind,
                    void* values, uint32_t count);

    // Values read outside the range are brought back into it.
    void setLimits(float minimum, float maximum);
    void apply();
    void refresh();

    uint32_t getFieldCount() const { return static_cast<uint32_t>(mFields.size()); }
    TextField* getField(uint32_t index) const { return mFields.at(index); }

private:
    Kind mKind;
    void* mValues;
    std::vector<TextField*> mFields;
    float mMinimum;
    float mMaximum;
};
