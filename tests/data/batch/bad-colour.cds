VELT-COLORS 1
Name	Color
Ann	not-a-colour
END 1
