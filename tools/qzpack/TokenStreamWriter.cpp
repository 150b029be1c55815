#include "TokenStreamWriter.h"

#include <stdexcept>

#include "TokenForms.h"

namespace qzpack {

void TokenStreamWriter::BeginItem(bool coded) {
    if (itemsInGroup_ == 8) {
        flagAt_ = stream_.size();
        stream_.push_back(0);
        itemsInGroup_ = 0;
    }
    if (coded) stream_[flagAt_] |= uint8_t(0x80 >> itemsInGroup_);
    ++itemsInGroup_;
}

void TokenStreamWriter::Literal(uint8_t byte) {
    BeginItem(false);
    stream_.push_back(byte);
}

void TokenStreamWriter::LiteralRun(const uint8_t* bytes, size_t count) {
    if (count < RunMinLength || count > RunMaxLength) throw std::logic_error("literal run out of range");
    BeginItem(true);
    stream_.push_back(uint8_t((count - RunMinLength) << 2 | 3));
    stream_.insert(stream_.end(), bytes, bytes + count);
}

void TokenStreamWriter::Match(uint32_t distance, uint32_t length) {
    const uint32_t code = distance - 1;
    switch (CheapestForm(distance, length)) {
        case MatchForm::Short:
            BeginItem(true);
            stream_.push_back(uint8_t(code << 2 | (length - ShortMinLength)));
            return;
        case MatchForm::Near:
            BeginItem(true);
            stream_.push_back(uint8_t(0x80 | code >> 4));
            stream_.push_back(uint8_t((code & 0x0F) << 4 | (length - NearMinLength)));
            return;
        case MatchForm::Far: {
            // The three lengths past 255 take the top values of the length byte.
            const uint8_t e = length == 4096 ? 255 : length == 1024 ? 254 : length == 256 ? 253
                                                                           : uint8_t(length - FarMinLength);
            BeginItem(true);
            stream_.push_back(uint8_t(0xC0 | code >> 8));
            stream_.push_back(uint8_t(code));
            stream_.push_back(e);
            return;
        }
        case MatchForm::None: break;
    }
    throw std::logic_error("no token form carries this match");
}

}  // namespace qzpack
