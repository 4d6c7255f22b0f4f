#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tilemond::fuzz {

// Takes choices and strings off the front of a fuzz input, so that one input is one run.
// Past the end every choice is the smallest one and every string empty.
class ByteReader
{
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t remaining() const { return m_size - m_at; }

    // A number in [low, high].
    long choose(long low, long high)
    {
        unsigned long value = 0;
        for (int i = 0; i < 4 && m_at < m_size; ++i)
            value = (value << 8) | m_data[m_at++];
        return low + static_cast<long>(value % static_cast<unsigned long>(high - low + 1));
    }

    template <typename T, std::size_t N> const T& pick(const T (&values)[N])
    {
        return values[choose(0, N - 1)];
    }

    // Bytes up to a backslash not followed by another (which stands for one backslash), or
    // maxLength of them: the mutator can shorten and lengthen a string without moving the rest.
    std::string text(std::size_t maxLength)
    {
        std::string result;
        while (m_at < m_size && result.size() < maxLength) {
            const char c = static_cast<char>(m_data[m_at++]);
            if (c == '\\') {
                if (m_at == m_size || m_data[m_at] != '\\')
                    break;
                ++m_at;
            }
            result.push_back(c);
        }
        return result;
    }

    std::string rest()
    {
        std::string result(reinterpret_cast<const char*>(m_data + m_at), m_size - m_at);
        m_at = m_size;
        return result;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

} // namespace tilemond::fuzz
