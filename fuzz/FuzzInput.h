#pragma once

// What the fuzz targets share: carving one input into the arguments of a
// call, and stopping the run when a property does not hold.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tarvane::fuzz {

// Stops the run, so that the fuzzer keeps the input that broke `property`.
inline void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

// Reads an input front to back: single bytes for small choices, parts that
// end at a zero byte for texts. Once the input is used up every byte is 0 and
// every part empty, so any input gives a complete set of arguments.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : m_rest(reinterpret_cast<const char*>(data), size) {}

    [[nodiscard]] std::uint8_t takeByte() {
        if (m_rest.empty()) {
            return 0;
        }
        const auto byte = static_cast<std::uint8_t>(m_rest.front());
        m_rest.remove_prefix(1);
        return byte;
    }

    // The bytes up to the next zero byte, which is consumed too; the rest
    // when there is none.
    [[nodiscard]] std::string_view takePart() {
        const std::size_t zero = m_rest.find('\0');
        const std::string_view part = m_rest.substr(0, zero);
        m_rest.remove_prefix(zero == std::string_view::npos ? m_rest.size() : zero + 1);
        return part;
    }

    // Everything not taken yet, zero bytes included.
    [[nodiscard]] std::string_view takeRest() {
        const std::string_view rest = m_rest;
        m_rest = {};
        return rest;
    }

private:
    std::string_view m_rest;
};

}  // namespace tarvane::fuzz
