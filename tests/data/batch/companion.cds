VELT-COLORS 1
Name	Color
Bob	Green
END 1
