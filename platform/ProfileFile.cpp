// The profile (settings) file layer is written with the settings component.
