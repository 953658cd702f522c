# fish completion for si32-report.
complete -c si32-report -f
complete -c si32-report -l json -d 'Print the window as JSON'
complete -c si32-report -l drive -x -a '(si32-report --list-drives 2>/dev/null | string sub -l 1)' -d 'Pick drive X in the drive list'
complete -c si32-report -l list-drives -d 'Print the drive list as the window shows it'
complete -c si32-report -l list-machines -d 'Print the demo machines SI32_MACHINE takes by name'
complete -c si32-report -l click -d 'Press "MS System Info" once'
complete -c si32-report -l capture -r -F -d "Write this machine's description"
complete -c si32-report -l anonymous -d 'With --capture: replace names, labels, serials and home'
complete -c si32-report -l help -d 'Print the usage'
complete -c si32-report -l version -d 'Print the version'
