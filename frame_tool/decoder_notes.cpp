#include "frame_tool/decoder_notes.h"

#include <unistd.h>

namespace dotwall::frame_tool {

DecoderNotes::DecoderNotes() {
    notes_ = std::tmpfile();
    if (notes_ == nullptr) {
        return;
    }
    std::fflush(stderr);
    savedStandardError_ = dup(STDERR_FILENO);
    if (savedStandardError_ < 0 || dup2(fileno(notes_), STDERR_FILENO) < 0) {
        std::fclose(notes_);
        notes_ = nullptr;
    }
}

DecoderNotes::~DecoderNotes() {
    if (savedStandardError_ >= 0) {
        std::fflush(stderr);
        dup2(savedStandardError_, STDERR_FILENO);
        close(savedStandardError_);
    }
    if (notes_ != nullptr) {
        std::fclose(notes_);
    }
}

std::string DecoderNotes::text() const {
    if (notes_ == nullptr) {
        return {};
    }
    std::fflush(stderr);
    std::string text;
    std::rewind(notes_);
    for (int c = std::fgetc(notes_); c != EOF; c = std::fgetc(notes_)) {
        text += c == '\n' ? std::string("; ") : std::string(1, static_cast<char>(c));
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == ';')) {
        text.pop_back();
    }
    return text;
}

}  // namespace dotwall::frame_tool
