// FormAuswahlMZDateiUnit
