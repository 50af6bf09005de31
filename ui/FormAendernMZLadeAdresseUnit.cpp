// FormAendernMZLadeAdresseUnit
