// Readings of one block joined: the same block from another recording of the tape, and from the
// other polarity of the same recording. How wholly each read a byte decides where they differ.
#include "BlockVereinigung.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int ByteBits = TBlockBelege::BitsProByte;

// Byte i reads otherwise in a and in b: a bit of it one way in a and the other way in b.
bool Anders(const std::vector<float>& a, const std::vector<float>& b, int i) {
    const auto von = static_cast<std::size_t>(i) * ByteBits;
    for (std::size_t bit = von; bit < von + ByteBits; ++bit)
        if (a[bit] != 0.0F && b[bit] != 0.0F && (a[bit] > 0.0F) != (b[bit] > 0.0F))
            return true;
    return false;
}

enum class TVergleich { Gleich, Gegen, Sonst };

// Two readings of the byte from bit `von` on: every bit heard by both and alike, a bit heard by
// both one way and the other, or neither.
template <typename A, typename B>
TVergleich Vergleiche(const std::vector<A>& a, const std::vector<B>& b, std::size_t von) {
    bool gleich = true;
    for (std::size_t i = von; i < von + ByteBits; ++i) {
        if (a[i] != 0 && b[i] != 0 && (a[i] > 0) != (b[i] > 0))
            return TVergleich::Gegen;
        gleich = gleich && a[i] != 0 && b[i] != 0;
    }
    return gleich ? TVergleich::Gleich : TVergleich::Sonst;
}

} // namespace

int TBlockBelege::Guete(int pv_index) const {
    const auto von = static_cast<std::size_t>(pv_index) * ByteBits;
    if (m_mittel[0].size() < von + ByteBits || m_mittel[1].size() < von + ByteBits)
        return 0;
    const auto byte = static_cast<std::size_t>(pv_index);
    bool ganz[2] = {!m_mehrdeutig[0][byte], !m_mehrdeutig[1][byte]};
    for (std::size_t i = von; i < von + ByteBits; ++i) {
        const int a = m_mittel[0][i], b = m_mittel[1][i];
        if (a != 0 && b != 0 && (a > 0) != (b > 0))
            return 0; // the copies contradict each other
        ganz[0] = ganz[0] && std::abs(a) >= Leise;
        ganz[1] = ganz[1] && std::abs(b) >= Leise;
    }
    return static_cast<int>(ganz[0]) + static_cast<int>(ganz[1]);
}

void TBlockBelege::NimmHinzu(const TBlockBelege& pv_andere) {
    if (pv_andere.m_anzahl != m_anzahl)
        return;
    for (std::size_t i = 0; i < m_bestaetigt.size(); ++i)
        m_bestaetigt[i] = m_bestaetigt[i] || pv_andere.m_bestaetigt[i];
    const std::vector<float> hier = Gewichte();
    const std::vector<float> andere = pv_andere.Gewichte();
    // Taken only when another recording adds to the block.
    m_fremd.resize(andere.size(), 0.0F);
    for (std::size_t i = 0; i < m_fremd.size(); ++i)
        m_fremd[i] += andere[i];
    if (m_lesungenJeByte.empty() || pv_andere.m_lesungenJeByte.empty() || hier.size() != andere.size())
        return;
    // A byte only the other recording read is read: where its place rests on the framing alone,
    // it stays uncertain in a damaged block.
    for (std::size_t i = 0; i < m_lesungenJeByte.size() && i < pv_andere.m_lesungenJeByte.size(); ++i)
        m_lesungenJeByte[i] = std::max(m_lesungenJeByte[i], pv_andere.m_lesungenJeByte[i]);
    for (int byte = 0; byte < Bytes(); ++byte) {
        if (!Anders(hier, andere, byte))
            continue;
        const int hierGuete = Guete(byte), dortGuete = pv_andere.Guete(byte);
        const auto von = static_cast<std::size_t>(byte) * ByteBits;
        if (hierGuete != dortGuete) {
            const std::vector<float>& gilt = hierGuete > dortGuete ? hier : andere;
            std::copy_n(gilt.begin() + static_cast<std::ptrdiff_t>(von), ByteBits,
                        m_fremd.begin() + static_cast<std::ptrdiff_t>(von));
            // A copy of the other recording that read the byte just so confirms it.
            const TBlockBelege& schwaecher = hierGuete > dortGuete ? pv_andere : *this;
            for (int k = 0; k < 2; ++k)
                if (Vergleiche(schwaecher.m_mittel[k], gilt, von) == TVergleich::Gleich)
                    for (std::size_t i = von; i < von + ByteBits; ++i)
                        m_fremd[i] += schwaecher.m_mittel[k][i];
            if (dortGuete > hierGuete)
                for (int k = 0; k < 2; ++k) {
                    std::copy_n(pv_andere.m_mittel[k].begin() + static_cast<std::ptrdiff_t>(von), ByteBits,
                                m_mittel[k].begin() + static_cast<std::ptrdiff_t>(von));
                    m_mehrdeutig[k][static_cast<std::size_t>(byte)] =
                        pv_andere.m_mehrdeutig[k][static_cast<std::size_t>(byte)];
                }
            continue;
        }
        // Each recording heard each copy once more: where one copy read the byte alike in both and
        // the other copy differently in each (a click, a pulse lost in one play), the byte goes by
        // the copy that read alike.
        for (int k = 0; k < 2; ++k)
            if (Vergleiche(m_mittel[k], pv_andere.m_mittel[k], von) == TVergleich::Gleich &&
                Vergleiche(m_mittel[1 - k], pv_andere.m_mittel[1 - k], von) == TVergleich::Gegen)
                for (std::size_t i = von; i < von + ByteBits; ++i)
                    m_fremd[i] = static_cast<float>(m_mittel[k][i] + pv_andere.m_mittel[k][i]);
    }
}

void TBlockBelege::Mittle(const TBlockBelege& pv_andere) {
    if (pv_andere.m_anzahl != m_anzahl || m_lesungenJeByte.empty() || pv_andere.m_lesungenJeByte.empty())
        return;
    for (std::size_t i = 0; i < m_bestaetigt.size(); ++i) {
        m_bestaetigt[i] = m_bestaetigt[i] || pv_andere.m_bestaetigt[i];
        m_lesungenJeByte[i] = std::max(m_lesungenJeByte[i], pv_andere.m_lesungenJeByte[i]);
    }
    const auto mittel = [](float a, float b) { return a == 0.0F ? b : b == 0.0F ? a : 0.5F * (a + b); };
    for (std::size_t i = 0; i < m_fremd.size() && i < pv_andere.m_fremd.size(); ++i)
        m_fremd[i] = mittel(m_fremd[i], pv_andere.m_fremd[i]);
    const std::size_t bits = m_fremd.size();
    for (int k = 0; k < 2; ++k)
        if (m_mittel[k].size() != bits || pv_andere.m_mittel[k].size() != bits)
            return;
    const auto gelesen = [](const std::vector<std::int8_t>& m, std::size_t byte) {
        const auto von = m.begin() + static_cast<std::ptrdiff_t>(byte * ByteBits);
        return std::any_of(von, von + ByteBits, [](std::int8_t v) { return v != 0; });
    };
    // Per byte and copy, where the readings of one polarity alone are taken: 1 this, 2 the other.
    std::vector<std::uint8_t> allein[2] = {std::vector<std::uint8_t>(bits / ByteBits, 0),
                                           std::vector<std::uint8_t>(bits / ByteBits, 0)};
    for (std::size_t byte = 0; byte < bits / ByteBits; ++byte) {
        bool zweifel[2][2] = {};
        // A copy's byte is framed doubtfully where every polarity that read it framed it so.
        for (int k = 0; k < 2; ++k) {
            const bool hier = gelesen(m_mittel[k], byte), dort = gelesen(pv_andere.m_mittel[k], byte);
            m_mehrdeutig[k][byte] = (hier || dort) && (!hier || m_mehrdeutig[k][byte]) &&
                                    (!dort || pv_andere.m_mehrdeutig[k][byte]);
            zweifel[k][0] = hier && m_nahVerlust[k][byte];
            zweifel[k][1] = dort && pv_andere.m_nahVerlust[k][byte];
            m_nahVerlust[k][byte] = (hier || dort) && (!hier || zweifel[k][0]) && (!dort || zweifel[k][1]);
        }
        // Per copy: its two readings disagree somewhere; both read every bit and agree throughout.
        bool streit[2] = {}, einig[2] = {};
        for (int k = 0; k < 2; ++k) {
            einig[k] = true;
            for (std::size_t i = byte * ByteBits; i < (byte + 1) * ByteBits; ++i) {
                const int a = m_mittel[k][i], b = pv_andere.m_mittel[k][i];
                const bool gegen =
                    (a > 0) != (b > 0) && std::min(std::abs(a), std::abs(b)) >= PolaritaetenStreit;
                streit[k] = streit[k] || gegen;
                einig[k] = einig[k] && a != 0 && b != 0 && (a > 0) == (b > 0);
            }
        }
        // Per copy: only one polarity read it, and that reading goes against the other copy's.
        bool nurEine[2] = {};
        for (int k = 0; k < 2; ++k) {
            bool erste = false, zweite = false, gegen = false;
            for (std::size_t i = byte * ByteBits; i < (byte + 1) * ByteBits; ++i) {
                erste = erste || m_mittel[k][i] != 0;
                zweite = zweite || pv_andere.m_mittel[k][i] != 0;
                const int a = m_mittel[k][i] + pv_andere.m_mittel[k][i];
                const float b = mittel(m_mittel[1 - k][i], pv_andere.m_mittel[1 - k][i]);
                gegen = gegen || ((a > 0) != (b > 0.0F) &&
                                  std::min<float>(std::abs(a), std::fabs(b)) >= PolaritaetenStreit);
            }
            nurEine[k] = erste != zweite && gegen;
        }
        for (int k = 0; k < 2; ++k) {
            if (!(streit[1 - k] || nurEine[1 - k]) || !einig[k])
                continue;
            for (std::size_t i = byte * ByteBits; i < (byte + 1) * ByteBits; ++i)
                m_fremd[i] = mittel(m_mittel[k][i], pv_andere.m_mittel[k][i]);
        }
        // Where a copy's two readings disagree and one of them was framed near a loss, a pulse off
        // perhaps, and the other was not, the copy's byte goes by the other.
        bool gewaehlt = false;
        for (int k = 0; k < 2; ++k)
            if (streit[k] && zweifel[k][0] != zweifel[k][1]) {
                allein[k][byte] = zweifel[k][0] ? 2 : 1;
                m_mehrdeutig[k][byte] = m_nahVerlust[k][byte] = false;
                gewaehlt = true;
            }
        if (!gewaehlt || (einig[0] && (streit[1] || nurEine[1])) || (einig[1] && (streit[0] || nurEine[0])))
            continue;
        for (std::size_t i = byte * ByteBits; i < (byte + 1) * ByteBits; ++i) {
            m_fremd[i] = 0.0F;
            for (int k = 0; k < 2; ++k)
                m_fremd[i] += allein[k][byte] == 1   ? m_mittel[k][i]
                              : allein[k][byte] == 2 ? pv_andere.m_mittel[k][i]
                                                     : mittel(m_mittel[k][i], pv_andere.m_mittel[k][i]);
        }
    }
    for (int k = 0; k < 2; ++k)
        for (std::size_t i = 0; i < bits; ++i) {
            const std::uint8_t a = allein[k][i / ByteBits];
            if (a != 1)
                m_mittel[k][i] = static_cast<std::int8_t>(
                    a == 2 ? pv_andere.m_mittel[k][i] : mittel(m_mittel[k][i], pv_andere.m_mittel[k][i]));
        }
}
