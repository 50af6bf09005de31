// FormAendernMZStartAdresseUnit
