#include "platform/sim/description_document.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace si32::sim {
namespace {

using nlohmann::json;

// Far beyond any real description (a capture holds a few hundred values,
// the largest arrays are records of bytes), and low enough that the values
// of a hostile file of 64 MB cost tens of megabytes, not gigabytes.
constexpr std::size_t kNestingLimit = 64;
constexpr std::size_t kMemberLimit = 65536;  // in one object or array
constexpr std::size_t kValueLimit = 262144;  // in the whole description

// The JSON library's message without its "[json.exception.parse_error.101] "
// tag, and with the input it quotes cut short.
std::string libraryMessage(const json::exception& error) {
    std::string what = error.what();
    if (auto tag = what.find("] "); what.rfind("[json.exception.", 0) == 0 && tag != std::string::npos)
        what.erase(0, tag + 2);
    if (auto quoted = what.find("last read: '"); quoted != std::string::npos) {
        const std::size_t start = quoted + 12;
        const std::size_t end = what.rfind('\'');
        std::string excerpt = what.substr(start, end > start ? end - start : std::string::npos);
        what = what.substr(0, start) + capQuoted(excerpt) + "'";
    }
    return what;
}

// Builds the document from the parser's events and makes the checks the
// JSON library does not (duplicate members, nesting, sizes) as it reads,
// so that a hostile file is refused before it costs memory; every step is
// constant time, so reading is linear in the file. Errors name the member
// being read.
class DocumentBuilder : public json::json_sax_t {
public:
    explicit DocumentBuilder(const DescriptionReader& reader) : reader_(reader) {}

    json& root() { return root_; }

    // The member path of the value being read ("drives[1].serial"), built
    // only when an error needs it.
    std::string current() const {
        std::string path;
        for (const Frame& frame : frames_) {
            if (frame.array) path = elementPath(path, frame.index);
            else if (frame.hasKey) path = memberPath(path, frame.key);
        }
        return path;
    }

    bool null() override { return add(json(nullptr)); }
    bool boolean(bool value) override { return add(json(value)); }
    bool number_integer(number_integer_t value) override { return add(json(value)); }
    bool number_unsigned(number_unsigned_t value) override { return add(json(value)); }
    bool number_float(number_float_t value, const string_t&) override { return add(json(value)); }
    bool string(string_t& value) override { return add(json(std::move(value))); }
    bool binary(binary_t&) override { return add(json(nullptr)); }  // JSON text holds none

    bool start_object(std::size_t) override { return open(json::object(), false); }
    bool start_array(std::size_t) override { return open(json::array(), true); }

    bool key(string_t& name) override {
        Frame& top = frames_.back();
        top.key = std::move(name);
        top.hasKey = true;
        if (top.node->contains(top.key)) reader_.fail(current(), "duplicate member");
        if (top.node->size() >= kMemberLimit)
            reader_.fail(pathOfContainer(), "expected at most " + std::to_string(kMemberLimit) + " members");
        return true;
    }

    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool parse_error(std::size_t, const std::string&, const json::exception& error) override {
        // Syntax errors and numbers out of any range (1e400) alike.
        reader_.fail(current(), "expected valid JSON: " + libraryMessage(error));
    }

private:
    struct Frame {
        json* node = nullptr;
        bool array = false;
        std::size_t index = 0;  // arrays: the element being read
        std::string key;        // objects: the member being read
        bool hasKey = false;
    };

    // The path of the innermost object or array, for what is wrong with it as a whole.
    std::string pathOfContainer() const {
        std::string path;
        for (std::size_t i = 0; i + 1 < frames_.size(); ++i) {
            const Frame& frame = frames_[i];
            path = frame.array ? elementPath(path, frame.index) : memberPath(path, frame.key);
        }
        return path;
    }

    // Places a value where the parse stands; the address stays valid while
    // the value is open, as nothing else is added to its parent until then.
    json* place(json value) {
        if (++values_ > kValueLimit)
            reader_.fail(current(), "expected at most " + std::to_string(kValueLimit) + " values in the description");
        if (frames_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        Frame& top = frames_.back();
        if (top.array) {
            if (top.node->size() >= kMemberLimit)
                reader_.fail(pathOfContainer(), "expected at most " + std::to_string(kMemberLimit) + " elements");
            auto& elements = top.node->get_ref<json::array_t&>();
            elements.push_back(std::move(value));
            return &elements.back();
        }
        auto& members = top.node->get_ref<json::object_t&>();
        return &members.emplace(top.key, std::move(value)).first->second;
    }

    bool add(json value) {
        place(std::move(value));
        next();
        return true;
    }

    bool open(json container, bool array) {
        if (frames_.size() >= kNestingLimit)
            reader_.fail(current(), "expected at most " + std::to_string(kNestingLimit) + " levels of nesting");
        json* node = place(std::move(container));
        Frame frame;
        frame.node = node;
        frame.array = array;
        frames_.push_back(std::move(frame));
        return true;
    }

    bool close() {
        frames_.pop_back();
        next();
        return true;
    }

    // Between members an error belongs to the object, not to the member before.
    void next() {
        if (frames_.empty()) return;
        Frame& top = frames_.back();
        if (top.array) {
            ++top.index;
        } else {
            top.key.clear();
            top.hasKey = false;
        }
    }

    const DescriptionReader& reader_;
    json root_;
    std::vector<Frame> frames_;
    std::size_t values_ = 0;
};

}  // namespace

json readDescriptionDocument(std::string_view jsonText, const DescriptionReader& reader) {
    DocumentBuilder builder(reader);
    json::sax_parse(jsonText, &builder);
    return std::move(builder.root());
}

}  // namespace si32::sim
