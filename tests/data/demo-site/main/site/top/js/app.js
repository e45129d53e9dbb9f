// A script of the demo site; scripts are saved like pages.
function highlight(id) { document.getElementById(id).style.background = '#ffd'; }
