#include "FormAendernMZLadeAdresseUnit.h"

#include "Plattform.h"
#include "SprachenTexte.h"

#include <QLineEdit>

namespace {
// The MZ address space ends at $FFFF; a body loaded higher would wrap around.
constexpr int LetzteMZAdresse = 0xFFFF;
} // namespace

TFormAendernMZLadeAdresse::TFormAendernMZLadeAdresse(QWidget* pv_owner, std::uint16_t pv_mzLadeAdresse,
                                                     std::uint16_t pv_mzDateiGroesse)
    : TFormAendernMZAdresse(pv_owner, QStringLiteral("FormAendernMZLadeAdresse"),
                            QStringLiteral("LabelMZLadeAdresse"), QStringLiteral("EditMZLadeAdresse"),
                            pv_mzLadeAdresse),
      EditMZLadeAdresse(AdressEdit()), m_mzDateiGroesse(pv_mzDateiGroesse) {}

bool TFormAendernMZLadeAdresse::PruefeEnde(std::uint16_t pv_adresse) {
    // An empty body never reaches beyond the address itself.
    if (m_mzDateiGroesse > 0 && int(pv_adresse) + int(m_mzDateiGroesse) - 1 > LetzteMZAdresse) {
        if (FrageWarnung(HoleText(QStringLiteral("Warnung_MZLadeAdresseZuGross")), false) != TAntwort::Ja) {
            EditMZLadeAdresse->setFocus();
            return false;
        }
    }
    return true;
}
