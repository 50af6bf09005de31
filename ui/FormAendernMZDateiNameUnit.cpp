// FormAendernMZDateiNameUnit
