// One step of the extended decoding on a thread of its own: the caller fills a free slot and
// hands it over, the thread works through the slots in the order handed over and gives them
// back. A few slots let both sides work at once. Only the caller's thread ever talks to the
// user; a failure in here (memory) is kept and handed back by Beende.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

template <typename TPlatz> class TFliessband {
public:
    static constexpr int AnzahlPlaetze = 3;

    // Each slot starts as a copy of `leer`; `arbeit` runs on the thread, once per slot handed over.
    TFliessband(const TPlatz& leer, std::function<void(TPlatz&)> arbeit)
        : m_plaetze(AnzahlPlaetze, leer), m_arbeit(std::move(arbeit)) {
        for (int i = 0; i < AnzahlPlaetze; ++i)
            m_frei.push_back(i);
        m_faden = std::thread([this] { Lauf(); });
    }
    ~TFliessband() { Halte(); }
    TFliessband(const TFliessband&) = delete;
    TFliessband& operator=(const TFliessband&) = delete;

    // A slot for the next piece of work, once the thread has given one back.
    TPlatz& FreierPlatz() {
        std::unique_lock<std::mutex> sperre(m_sperre);
        m_bedingung.wait(sperre, [this] { return !m_frei.empty(); });
        m_inArbeit = m_frei.back();
        m_frei.pop_back();
        return m_plaetze[static_cast<std::size_t>(m_inArbeit)];
    }
    // The slot last handed out is filled and no longer touched by the caller.
    void Uebergib() {
        {
            const std::lock_guard<std::mutex> sperre(m_sperre);
            m_voll.push_back(m_inArbeit);
        }
        m_bedingung.notify_all();
    }
    // Waits until every slot handed over is worked through; the thread is gone afterwards.
    void Beende() {
        Halte();
        if (m_fehler)
            std::rethrow_exception(m_fehler);
    }
    // Beende without throwing: the failure, if any.
    std::exception_ptr BeendeStill() {
        Halte();
        return m_fehler;
    }

private:
    void Halte() {
        {
            const std::lock_guard<std::mutex> sperre(m_sperre);
            m_ende = true;
        }
        m_bedingung.notify_all();
        if (m_faden.joinable())
            m_faden.join();
    }

    void Lauf() {
        for (;;) {
            int platz = 0;
            {
                std::unique_lock<std::mutex> sperre(m_sperre);
                m_bedingung.wait(sperre, [this] { return !m_voll.empty() || m_ende; });
                if (m_voll.empty())
                    return;
                platz = m_voll.front();
                m_voll.pop_front();
            }
            // After a failure the slots still come back, so that the caller never waits forever.
            if (!m_fehler) {
                try {
                    m_arbeit(m_plaetze[static_cast<std::size_t>(platz)]);
                } catch (...) {
                    m_fehler = std::current_exception();
                }
            }
            {
                const std::lock_guard<std::mutex> sperre(m_sperre);
                m_frei.push_back(platz);
            }
            m_bedingung.notify_all();
        }
    }

    std::vector<TPlatz> m_plaetze;
    std::function<void(TPlatz&)> m_arbeit;
    int m_inArbeit = 0;
    std::deque<int> m_voll;
    std::vector<int> m_frei;
    bool m_ende = false;
    std::exception_ptr m_fehler;
    std::mutex m_sperre;
    std::condition_variable m_bedingung;
    std::thread m_faden; // last, so that it starts once everything else is there
};
