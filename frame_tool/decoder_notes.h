#pragma once

#include <cstdio>
#include <string>

namespace dotwall::frame_tool {

// Takes what is printed to standard error while it lives, instead of letting it through.
// Some picture decoders print their complaints themselves (Qt leaves libpng's errors to
// libpng, which writes "libpng error: ..." to standard error); the tool says one line per
// failure, so it puts their words into that line. If no temporary file can be had,
// nothing is taken and the text stays empty.
class DecoderNotes {
  public:
    DecoderNotes();
    ~DecoderNotes();
    DecoderNotes(const DecoderNotes&) = delete;
    DecoderNotes& operator=(const DecoderNotes&) = delete;

    // What was printed so far, its lines joined by "; ".
    std::string text() const;

  private:
    std::FILE* notes_ = nullptr;
    int savedStandardError_ = -1;
};

}  // namespace dotwall::frame_tool
