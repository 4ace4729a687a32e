#pragma once
// A record of the data exchange file: its table's columns in order, texts as archive strings,
// floats, 32-bit booleans and integers, dates, and binary columns as a 32-bit length and the bytes.

#include "archive/ArchiveReader.h"
#include "archive/ArchiveWriter.h"
#include "store/RecordFields.h"

namespace vantor {

template <class R> void WriteDataFileRecord(ArchiveWriter& writer, const R& record) {
    for (const auto& field : FieldsOf<R>()) {
        std::visit(
            [&](auto member) {
                const auto& value = record.*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, QString>) {
                    writer.WriteString(value);
                } else if constexpr (std::is_same_v<T, float>) {
                    writer.WriteFloat(value);
                } else if constexpr (std::is_same_v<T, bool>) {
                    writer.WriteBool(value);
                } else if constexpr (std::is_same_v<T, std::int32_t>) {
                    writer.WriteInt32(value);
                } else if constexpr (std::is_same_v<T, QDateTime>) {
                    writer.WriteDateTime(value);
                } else {
                    writer.WriteInt32(static_cast<qint32>(value.size()));
                    writer.WriteRaw(value);
                }
            },
            field.member);
    }
}

// Reads one record; check reader.Ok() before using it.
template <class R> R ReadDataFileRecord(ArchiveReader& reader) {
    R record;
    for (const auto& field : FieldsOf<R>()) {
        std::visit(
            [&](auto member) {
                auto& value = record.*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, QString>) {
                    value = reader.ReadString();
                } else if constexpr (std::is_same_v<T, float>) {
                    value = reader.ReadFloat();
                } else if constexpr (std::is_same_v<T, bool>) {
                    value = reader.ReadBool();
                } else if constexpr (std::is_same_v<T, std::int32_t>) {
                    value = reader.ReadInt32();
                } else if constexpr (std::is_same_v<T, QDateTime>) {
                    value = reader.ReadDateTime();
                } else {
                    value = reader.ReadRaw(reader.ReadInt32());
                }
            },
            field.member);
    }
    return record;
}

} // namespace vantor
