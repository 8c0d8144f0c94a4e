#pragma once

// The output side shared by folivar_walk and floor_walk, so both pay exactly the
// same for formatting and writing and the timings differ by the walk alone.
// Line format, same as find -printf '%p %s %TY-%Tm-%Td %TH:%TM:%TS\n' once the
// fraction of the seconds is cut off:
//   <folder/><name> <size> YYYY-MM-DD hh:mm:ss

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace folivar::bench {

struct CalendarTime {
    int year, month, day, hour, minute, second;
};

class LineWriter {
public:
    explicit LineWriter(int fd) : fd_(fd) { buffer_.reserve(kFlushAt + 8192); }
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;
    ~LineWriter() { flush(); }

    // folder already ends in '/'.
    void line(std::string_view folder, std::string_view name, std::int64_t size,
              const CalendarTime& t) {
        append(folder);
        append(name);
        buffer_.push_back(' ');
        number(size, 1);
        buffer_.push_back(' ');
        number(t.year, 4);
        buffer_.push_back('-');
        number(t.month, 2);
        buffer_.push_back('-');
        number(t.day, 2);
        buffer_.push_back(' ');
        number(t.hour, 2);
        buffer_.push_back(':');
        number(t.minute, 2);
        buffer_.push_back(':');
        number(t.second, 2);
        buffer_.push_back('\n');
        if (buffer_.size() >= kFlushAt) {
            flush();
        }
    }

    // False once a write has failed.
    bool flush() {
        const char* p = buffer_.data();
        std::size_t left = buffer_.size();
        while (left > 0 && ok_) {
            const ssize_t n = ::write(fd_, p, left);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                ok_ = false;
                break;
            }
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        buffer_.clear();
        return ok_;
    }

private:
    static constexpr std::size_t kFlushAt = 256 * 1024;

    void append(std::string_view s) { buffer_.insert(buffer_.end(), s.begin(), s.end()); }

    // Zero-padded to at least width digits.
    void number(std::int64_t value, int width) {
        char digits[24];
        const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
        const auto length = static_cast<int>(end - digits);
        for (int i = length; i < width; ++i) {
            buffer_.push_back('0');
        }
        buffer_.insert(buffer_.end(), digits, end);
    }

    int fd_;
    bool ok_ = true;
    std::vector<char> buffer_;
};

}  // namespace folivar::bench
