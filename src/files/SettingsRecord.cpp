#include "files/SettingsRecord.h"

#include <QtEndian>

#include <cstring>

namespace {

// Writes and reads the fields one at a time, so the file layout never depends on how the
// compiler lays out the struct.
class RecordWriter
{
public:
    void put(std::int16_t value)
    {
        char bytes[2];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, 2);
    }
    void put(float value)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        char bytes[4];
        qToLittleEndian(bits, bytes);
        m_bytes.append(bytes, 4);
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

class RecordReader
{
public:
    explicit RecordReader(const QByteArray &bytes) : m_data(bytes.constData()) {}
    void get(std::int16_t &value)
    {
        value = qFromLittleEndian<std::int16_t>(m_data + m_offset);
        m_offset += 2;
    }
    void get(float &value)
    {
        const auto bits = qFromLittleEndian<std::uint32_t>(m_data + m_offset);
        std::memcpy(&value, &bits, sizeof value);
        m_offset += 4;
    }

private:
    const char *m_data;
    int m_offset = 0;
};

// One list of the fields in file order, for both directions.
template<typename Visitor, typename Record>
void visitFields(Visitor &visit, Record &s)
{
    visit(s.outputUnit);
    visit(s.timeUnit);
    visit(s.pipeId);
    visit(s.pipeIdUnit);
    visit(s.kFactor);
    visit(s.kFactorUnit);
    visit(s.setpoint4mA);
    visit(s.setpoint20mA);
    visit(s.lowFlowCutoff);
    visit(s.averaging);
    visit(s.sensitivity);
    visit(s.noiseRejection);
}

} // namespace

QByteArray encodeSettingsRecord(const SensorSettings &settings)
{
    RecordWriter writer;
    auto put = [&writer](auto value) { writer.put(value); };
    visitFields(put, settings);
    return writer.bytes();
}

std::optional<SensorSettings> decodeSettingsRecord(const QByteArray &bytes)
{
    if (bytes.size() < settingsRecordSize)
        return std::nullopt;
    RecordReader reader(bytes);
    SensorSettings settings;
    auto get = [&reader](auto &value) { reader.get(value); };
    visitFields(get, settings);
    return settings;
}
