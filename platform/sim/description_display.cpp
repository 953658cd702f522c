// The sections the user interface and regional services answer from.
#include "platform/sim/description_parser.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/sim/parameter_value.h"
#include "platform/text_helpers.h"

namespace si32::sim {

int64_t DescriptionParser::numberName(const std::string& name, std::string_view path, int64_t min, int64_t max) {
    const std::optional<int64_t> number = parseNumber<int64_t>(name);
    if (!number || *number < min || *number > max)
        reader_.fail(path, "expected a number as the member name (decimal or 0x hexadecimal)");
    return *number;
}

void DescriptionParser::display(const json& value) {
    reader_.expectObject(value, "display",
                         {"width_twips", "height_twips", "twips_per_pixel_x", "twips_per_pixel_y", "bits_per_pixel",
                          "planes", "logpixelsy", "logpixelsx", "contexts", "metrics", "parameters"});
    DisplayFacts facts;
    for (const auto& [name, member] : value.items()) {
        std::string path = memberPath("display", name);
        if (name == "metrics") {
            reader_.expectAnyObject(member, path);
            for (const auto& [index, answer] : member.items()) {
                std::string metricPath = memberPath(path, index);
                auto number = static_cast<int32_t>(numberName(index, metricPath, INT32_MIN, INT32_MAX));
                facts.metrics[number] = reader_.i32(answer, metricPath);
            }
        } else if (name == "parameters") {
            reader_.expectAnyObject(member, path);
            for (const auto& [action, answer] : member.items()) {
                std::string actionPath = memberPath(path, action);
                auto number = static_cast<uint32_t>(numberName(action, actionPath, 0, UINT32_MAX));
                facts.parameters[number] = readParameterValue(reader_, number, answer, actionPath);
            }
        } else if (name == "contexts") {
            facts.contexts = reader_.flag(member, path);
        } else {
            int32_t number = reader_.i32(member, path);
            if (name == "width_twips") facts.widthTwips = number;
            else if (name == "height_twips") facts.heightTwips = number;
            else if (name == "twips_per_pixel_x") facts.twipsPerPixelX = number;
            else if (name == "twips_per_pixel_y") facts.twipsPerPixelY = number;
            else if (name == "bits_per_pixel") facts.bitsPerPixel = number;
            else if (name == "planes") facts.planes = number;
            else if (name == "logpixelsx") facts.logPixelsX = number;
            else facts.logPixelsY = number;
        }
    }
    out_.display = std::move(facts);
}

void DescriptionParser::regional(const json& value) {
    reader_.expectObject(value, "regional", {"decimal", "thousands", "months"});
    for (const auto& [name, member] : value.items()) {
        std::string path = memberPath("regional", name);
        if (name == "decimal") {
            out_.regional.decimal = reader_.text(member, path);
        } else if (name == "thousands") {
            out_.regional.thousands = reader_.text(member, path);
        } else {
            std::vector<std::string> months = texts(member, path);
            if (months.size() != 12) reader_.fail(path, "expected an array of 12 month abbreviations");
            std::copy(months.begin(), months.end(), out_.regional.months.begin());
        }
    }
}

}  // namespace si32::sim
