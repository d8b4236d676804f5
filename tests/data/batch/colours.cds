VELT-COLORS 1
Name	Color
Ann	Red
Fox, Al	#FF123456
Zed	Blue
Ann	Navy
END 4
