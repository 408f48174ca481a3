#pragma once
// How long the modem is on air for a payload, in FSK or LoRa, and the sending interval that adds
// the margin of each modulation. The arithmetic is extended precision, as the calculator's was.
#include <cstdint>

struct TAirTime {
    int32_t Symbols = 0;  // LoRa: the payload symbols N; FSK: 0
    int64_t Time = 0;     // milliseconds on air
    int64_t Total = 0;    // Time + the margin: the repeat-send interval
};

// L: the payload length in bytes (its integer value decides the LoRa branch and the FSK block
// count); SF: the spreading factor 7..12 (LoRa only).
TAirTime LoRaAirTime(double L, int SF);
TAirTime FskAirTime(double L);
