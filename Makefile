# The two commands: `make run` opens Corvalin, `make test` runs every test.
# `make soak [POLLS]` runs the program's status poll POLLS times (a day: 86400).
.PHONY: run test soak
run:
	./scripts/run-program.sh
test:
	./scripts/run-tests.sh
soak:
	./scripts/soak.sh $(word 2,$(MAKECMDGOALS))

# The poll count given after `soak` is an argument, not a target.
ifeq (soak,$(firstword $(MAKECMDGOALS)))
$(word 2,$(MAKECMDGOALS)):
	@:
endif
