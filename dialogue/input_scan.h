// How typed answers are read: one word, or one decimal number, from a stream
// of bytes, the way the formatted input of the C library reads them.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteSource {
public:
    // The next byte (0..255), or -1 at the end of input.
    virtual int read_byte() = 0;
    // Puts back the byte just read, so that the next read returns it.
    virtual void unread_byte(int byte) = 0;

protected:
    ~ByteSource() = default;
};

enum class ScanResult {
    value,
    not_a_number,
    end_of_input,
};

// Skips white space and reads one word into `buffer` (of `size` bytes, at
// least 2). A longer word keeps its first size - 1 bytes and leaves the rest
// unread; the white space that ends the word stays unread too.
ScanResult scan_word(ByteSource& source, char* buffer, std::size_t size);

// Skips white space and reads a decimal number with an optional sign. A
// number outside [minimum, maximum] gives the nearer bound. When no digit
// follows, `value` is untouched and the byte that is no digit stays unread.
ScanResult scan_integer(ByteSource& source, std::int64_t minimum, std::int64_t maximum,
                        std::int64_t& value);

// The leading decimal number of `text` as a signed 32-bit value, held at the
// bounds of that range; 0 when the text starts with anything else.
std::int32_t leading_integer(const char* text);
