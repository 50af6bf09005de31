// FormAendernMZKommentarUnit
