// FormAendernMZDateiAttributUnit
