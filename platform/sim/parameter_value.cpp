#include "platform/sim/parameter_value.h"

#include <span>
#include <string>

#include "platform/sim/spi_table.h"

namespace si32::sim {

namespace {

void put32(std::span<std::byte> out, size_t offset, uint32_t value) {
    spi_bytes::put32(out, offset, static_cast<int32_t>(value));
}

void fillRecord(const DescriptionReader& reader, const RecordLayout& layout, const nlohmann::json& node,
                std::string_view path, std::span<std::byte> out) {
    if (!node.is_object()) reader.fail(path, "expected an object");
    if (layout.sizeField) put32(out, 0, layout.size);
    for (const auto& [name, value] : node.items()) {
        const RecordField* field = nullptr;
        for (const RecordField& candidate : layout.fields)
            if (candidate.name == name) field = &candidate;
        std::string childPath = memberPath(path, name);
        if (field == nullptr) reader.fail(childPath, "unknown member");
        switch (field->kind) {
            case FieldKind::Int32: put32(out, field->offset, reader.bits32(value, childPath)); break;
            case FieldKind::Byte:
                out[field->offset] =
                    static_cast<std::byte>(reader.integer(value, childPath, 0, 255, "expected an integer 0 to 255"));
                break;
            case FieldKind::FaceName: {
                std::string face = reader.text(value, childPath);
                if (face.size() > 31) reader.fail(childPath, "expected a face name of at most 31 bytes");
                for (size_t i = 0; i < face.size(); ++i) out[field->offset + i] = static_cast<std::byte>(face[i]);
                break;
            }
            case FieldKind::Font:
                fillRecord(reader, logFontLayout(), value, childPath, out.subspan(field->offset, logFontLayout().size));
                break;
        }
    }
}

std::vector<std::byte> readByteArray(const DescriptionReader& reader, const nlohmann::json& node,
                                     std::string_view path) {
    std::vector<std::byte> bytes;
    for (size_t i = 0; i < node.size(); ++i)
        bytes.push_back(static_cast<std::byte>(
            reader.integer(node[i], elementPath(path, i), 0, 255, "expected a byte (an integer 0 to 255)")));
    return bytes;
}

}  // namespace

std::vector<std::byte> bytesOf32(uint32_t value) {
    std::vector<std::byte> bytes(4);
    put32(bytes, 0, value);
    return bytes;
}

std::vector<std::byte> readParameterValue(const DescriptionReader& reader, uint32_t action, const nlohmann::json& node,
                                          std::string_view path) {
    if (const RecordLayout* layout = findRecordLayout(action)) {
        std::string expected = "expected an object or an array of " + std::to_string(layout->size) + " bytes";
        if (node.is_array()) {
            std::vector<std::byte> bytes = readByteArray(reader, node, path);
            if (bytes.size() != layout->size) reader.fail(path, expected);
            return bytes;
        }
        if (!node.is_object()) reader.fail(path, expected);
        std::vector<std::byte> bytes(layout->size);
        fillRecord(reader, *layout, node, path, bytes);
        return bytes;
    }
    if (action == SPI_GETDESKWALLPAPER) {
        if (node.is_array()) return readByteArray(reader, node, path);
        std::string text = reader.text(node, path);
        std::vector<std::byte> bytes;
        for (char c : text) bytes.push_back(static_cast<std::byte>(c));
        return bytes;
    }
    if (node.is_array()) {
        std::vector<std::byte> bytes = readByteArray(reader, node, path);
        if (bytes.empty()) reader.fail(path, "expected at least one byte");
        return bytes;
    }
    if (!node.is_number_integer()) reader.fail(path, "expected a 32-bit integer or an array of bytes");
    return bytesOf32(reader.bits32(node, path));
}

}  // namespace si32::sim
