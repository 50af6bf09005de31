// FormHauptUnit
